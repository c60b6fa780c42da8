// The stream family: memory, file and resource streams, exact transfers, copies, failures.
#include "support/stream_helpers.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/resource_stream.h"
#include "zintara/framework/streams.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

using namespace zn;
using namespace zn::test;

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        FileName = std::wstring(folder) + L"zn_stream_test_" +
                   std::to_wstring(GetCurrentProcessId()) + L".bin";
    }
    void TearDown() override { DeleteFileW(FileName.c_str()); }
    std::wstring FileName;
};

} // namespace

TEST(MemoryStream, GrowsOnWriteAndReadsBack)
{
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(10);
    stream.WriteBuffer("z", 1);
    EXPECT_EQ(stream.Size(), 11);
    EXPECT_EQ(stream.Position(), 11);
    std::string expected("abc\0\0\0\0\0\0\0z", 11);
    EXPECT_EQ(Contents(stream), expected);
    stream.Seek(-2, TSeekOrigin::soEnd);
    char tail[4] = {};
    EXPECT_EQ(stream.Read(tail, 4), 2u);
    EXPECT_EQ(std::string(tail, 2), std::string("\0z", 2));
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(MemoryStream, ShortTransfersRaiseReadErrors)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcd", 4);
    stream.SetPosition(1);
    char buffer[8];
    try {
        stream.ReadBuffer(buffer, 4);
        FAIL() << "a short read passed";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Stream read error");
    }
    EXPECT_THROW(stream.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
}

TEST(MemoryStream, SetSizeReportsOutOfMemoryAndKeepsTheContents)
{
    TMemoryStream stream;
    stream.WriteBuffer("keep", 4);
    EXPECT_THROW(stream.SetSize(std::int64_t{3} << 30), EOutOfMemory);
    EXPECT_THROW(stream.SetSize(std::int64_t{1} << 40), EOutOfMemory);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
    EXPECT_EQ(Contents(stream), "keep");
    stream.SetSize(2);
    EXPECT_EQ(Contents(stream), "ke");
    EXPECT_EQ(stream.Position(), 2);
}

TEST(MemoryStream, CopyFromZeroCopiesTheWholeSource)
{
    TMemoryStream source, target;
    source.WriteBuffer("0123456789", 10);
    source.SetPosition(7);
    EXPECT_EQ(target.CopyFrom(source, 0), 10);
    EXPECT_EQ(Contents(target), "0123456789");
    source.SetPosition(2);
    EXPECT_EQ(target.CopyFrom(source, 3), 3);
    EXPECT_EQ(Contents(target), "0123456789234");
    source.SetPosition(8);
    EXPECT_THROW(target.CopyFrom(source, 5), EReadError);
}

TEST(MemoryStream, LoadFromStreamReplacesTheContents)
{
    TMemoryStream source, target;
    source.WriteBuffer("new", 3);
    target.WriteBuffer("older data", 10);
    target.LoadFromStream(source);
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(target.Position(), 0);
    target.Clear();
    EXPECT_EQ(target.Size(), 0);
}

TEST_F(FileStreamTest, CreateWriteReopenRead)
{
    {
        TFileStream file(FileName, fmCreate);
        file.WriteBuffer("file bytes", 10);
        EXPECT_EQ(file.Size(), 10);
    }
    TMemoryStream loaded;
    loaded.LoadFromFile(FileName);
    EXPECT_EQ(Contents(loaded), "file bytes");
    TFileStream file(FileName, fmOpenReadWrite | fmShareExclusive);
    file.Seek(5, TSeekOrigin::soBeginning);
    file.WriteBuffer("B", 1);
    file.SetSize(7);
    EXPECT_EQ(file.Size(), 7);
    char buffer[7];
    file.SetPosition(0);
    file.ReadBuffer(buffer, 7);
    EXPECT_EQ(std::string(buffer, 7), "file By");
    EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);
}

TEST_F(FileStreamTest, SaveToFileAndSharing)
{
    TMemoryStream stream;
    stream.WriteBuffer("saved", 5);
    stream.SaveToFile(FileName);
    TFileStream reader(FileName, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(reader.Size(), 5);
    EXPECT_THROW(TFileStream(FileName, fmOpenWrite), EFOpenError);
    TFileStream second_reader(FileName, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(second_reader.Size(), 5);
}

TEST_F(FileStreamTest, MissingFilesAreNamedInTheError)
{
    std::wstring missing = FileName + L".missing";
    try {
        TFileStream file(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + missing + L"\". ", 0), 0u) << e.what();
    }
    EXPECT_THROW(TFileStream(L"Z:\\no\\such\\folder\\x.bin", fmCreate), EFCreateError);
}

TEST(ResourceStream, ReadsRcDataByNameAndId)
{
    TResourceStream by_name(nullptr, L"Greeting");
    std::string text(static_cast<size_t>(by_name.Size()), '\0');
    by_name.ReadBuffer(text.data(), text.size());
    EXPECT_EQ(text, "Hello, resources");
    TResourceStream by_id(nullptr, 101);
    ASSERT_EQ(by_id.Size(), 6);
    const auto* bytes = static_cast<const unsigned char*>(by_id.Memory());
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[2], 2);
}

TEST(ResourceStream, IsReadOnlyAndMissingResourcesRaise)
{
    TResourceStream stream(nullptr, L"Greeting");
    EXPECT_THROW(stream.Write("x", 1), EStreamError);
    EXPECT_THROW(stream.SetSize(1), EStreamError);
    try {
        TResourceStream missing(nullptr, L"NoSuchThing");
        FAIL() << "found a missing resource";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NoSuchThing not found");
    }
}
