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

TEST(StreamAdapter, ReadWriteSeekStat) {
    TMemoryStream Stream;
    IStream* Com = new TStreamAdapter(Stream, TStreamOwnership::soReference);
    ULONG Done = 99;
    EXPECT_EQ(Com->Write("abcdef", 6, &Done), S_OK);
    EXPECT_EQ(Done, 6u);
    LARGE_INTEGER Move;
    Move.QuadPart = 2;
    ULARGE_INTEGER Position;
    EXPECT_EQ(Com->Seek(Move, STREAM_SEEK_SET, &Position), S_OK);
    EXPECT_EQ(Position.QuadPart, 2u);
    char Buffer[8] = {};
    EXPECT_EQ(Com->Read(Buffer, 8, &Done), S_FALSE);
    EXPECT_EQ(Done, 4u);
    EXPECT_EQ(std::string(Buffer, 4), "cdef");
    STATSTG Info;
    EXPECT_EQ(Com->Stat(&Info, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(Info.cbSize.QuadPart, 6u);
    EXPECT_EQ(Info.type, static_cast<DWORD>(STGTY_STREAM));
    Move.QuadPart = -1;
    EXPECT_TRUE(FAILED(Com->Seek(Move, STREAM_SEEK_SET, &Position)));
    EXPECT_TRUE(FAILED(Com->Seek(Move, 7, &Position)));
    EXPECT_EQ(Com->Release(), 0u);
    EXPECT_EQ(Stream.Size(), 6);
}

TEST(StreamAdapter, QueryInterfaceAndOwnership) {
    int Destroyed = 0;
    IStream* Com = new TStreamAdapter(*new TCountedStream(Destroyed), TStreamOwnership::soOwned);
    IUnknown* Unknown = nullptr;
    EXPECT_EQ(Com->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&Unknown)), S_OK);
    ISequentialStream* Sequential = nullptr;
    EXPECT_EQ(Com->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&Sequential)), S_OK);
    void* Storage = reinterpret_cast<void*>(1);
    EXPECT_EQ(Com->QueryInterface(IID_IStorage, &Storage), E_NOINTERFACE);
    EXPECT_EQ(Storage, nullptr);
    EXPECT_EQ(Com->QueryInterface(IID_IStream, nullptr), E_POINTER);
    Unknown->Release();
    Sequential->Release();
    EXPECT_EQ(Destroyed, 0);
    Com->Release();
    EXPECT_EQ(Destroyed, 1);
}

TEST(StreamAdapter, FailuresBecomeHResults) {
    TResourceStream ReadOnly(nullptr, L"Greeting");
    IStream* Com = new TStreamAdapter(ReadOnly, TStreamOwnership::soReference);
    ULONG Done = 5;
    EXPECT_TRUE(FAILED(Com->Write("x", 1, &Done)));
    EXPECT_EQ(Done, 0u);
    ULARGE_INTEGER Size;
    Size.QuadPart = 1;
    EXPECT_TRUE(FAILED(Com->SetSize(Size)));
    EXPECT_EQ(Com->Read(nullptr, 1, &Done), STG_E_INVALIDPOINTER);
    EXPECT_EQ(Com->Stat(nullptr, 0), STG_E_INVALIDPOINTER);
    Com->Release();
}

TEST(StreamAdapter, CopyToAnotherComStream) {
    TMemoryStream Source, Target;
    Source.WriteBuffer("copied bytes", 12);
    Source.SetPosition(7);
    IStream* From = new TStreamAdapter(Source, TStreamOwnership::soReference);
    IStream* To = new TStreamAdapter(Target, TStreamOwnership::soReference);
    ULARGE_INTEGER Count, Read, Written;
    Count.QuadPart = 100;
    EXPECT_EQ(From->CopyTo(To, Count, &Read, &Written), S_OK);
    EXPECT_EQ(Read.QuadPart, 5u);
    EXPECT_EQ(Written.QuadPart, 5u);
    EXPECT_EQ(std::string(static_cast<const char*>(Target.Memory()), 5), "bytes");
    EXPECT_EQ(From->CopyTo(nullptr, Count, &Read, &Written), STG_E_INVALIDPOINTER);
    From->Release();
    To->Release();
}
