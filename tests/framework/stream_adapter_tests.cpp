// The IStream adapter as COM callers see it.
#include "zintara/framework/stream_adapter.h"

#include "zintara/framework/resource_stream.h"

#include <gtest/gtest.h>

#include <string>

using namespace zn;

namespace {

// Counts its own destruction, to show when an owning adapter frees it.
class TCountedStream : public TMemoryStream {
public:
    explicit TCountedStream(int& Destroyed) : FDestroyed(Destroyed) {}
    ~TCountedStream() override { ++FDestroyed; }

private:
    int& FDestroyed;
};

} // namespace

TEST(StreamAdapter, ReadWriteSeekStat)
{
    TMemoryStream stream;
    IStream* com = new TStreamAdapter(stream, TStreamOwnership::soReference);
    ULONG done = 99;
    EXPECT_EQ(com->Write("abcdef", 6, &done), S_OK);
    EXPECT_EQ(done, 6u);
    LARGE_INTEGER move;
    move.QuadPart = 2;
    ULARGE_INTEGER position;
    EXPECT_EQ(com->Seek(move, STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 2u);
    char buffer[8] = {};
    EXPECT_EQ(com->Read(buffer, 8, &done), S_FALSE);
    EXPECT_EQ(done, 4u);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    STATSTG info;
    EXPECT_EQ(com->Stat(&info, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(info.cbSize.QuadPart, 6u);
    EXPECT_EQ(info.type, static_cast<DWORD>(STGTY_STREAM));
    move.QuadPart = -1;
    EXPECT_TRUE(FAILED(com->Seek(move, STREAM_SEEK_SET, &position)));
    EXPECT_TRUE(FAILED(com->Seek(move, 7, &position)));
    EXPECT_EQ(com->Release(), 0u);
    EXPECT_EQ(stream.Size(), 6);
}

TEST(StreamAdapter, QueryInterfaceAndOwnership)
{
    int destroyed = 0;
    IStream* com = new TStreamAdapter(*new TCountedStream(destroyed), TStreamOwnership::soOwned);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(com->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    ISequentialStream* sequential = nullptr;
    EXPECT_EQ(com->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&sequential)),
              S_OK);
    void* storage = reinterpret_cast<void*>(1);
    EXPECT_EQ(com->QueryInterface(IID_IStorage, &storage), E_NOINTERFACE);
    EXPECT_EQ(storage, nullptr);
    EXPECT_EQ(com->QueryInterface(IID_IStream, nullptr), E_POINTER);
    unknown->Release();
    sequential->Release();
    EXPECT_EQ(destroyed, 0);
    com->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(StreamAdapter, FailuresBecomeHResults)
{
    TResourceStream read_only(nullptr, L"Greeting");
    IStream* com = new TStreamAdapter(read_only, TStreamOwnership::soReference);
    ULONG done = 5;
    EXPECT_TRUE(FAILED(com->Write("x", 1, &done)));
    EXPECT_EQ(done, 0u);
    ULARGE_INTEGER size;
    size.QuadPart = 1;
    EXPECT_TRUE(FAILED(com->SetSize(size)));
    EXPECT_EQ(com->Read(nullptr, 1, &done), STG_E_INVALIDPOINTER);
    EXPECT_EQ(com->Stat(nullptr, 0), STG_E_INVALIDPOINTER);
    com->Release();
}

TEST(StreamAdapter, CopyToAnotherComStream)
{
    TMemoryStream source, target;
    source.WriteBuffer("copied bytes", 12);
    source.SetPosition(7);
    IStream* from = new TStreamAdapter(source, TStreamOwnership::soReference);
    IStream* to = new TStreamAdapter(target, TStreamOwnership::soReference);
    ULARGE_INTEGER count, read, written;
    count.QuadPart = 100;
    EXPECT_EQ(from->CopyTo(to, count, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 5u);
    EXPECT_EQ(written.QuadPart, 5u);
    EXPECT_EQ(std::string(static_cast<const char*>(target.Memory()), 5), "bytes");
    EXPECT_EQ(from->CopyTo(nullptr, count, &read, &written), STG_E_INVALIDPOINTER);
    from->Release();
    to->Release();
}
