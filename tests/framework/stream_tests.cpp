// The stream family: memory, file and resource streams, exact transfers, copies, failures.
#include "stream_helpers.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/resource_stream.h"
#include "zintara/framework/streams.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

using namespace zn;
using namespace zn::testing;

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t Folder[MAX_PATH];
        GetTempPathW(MAX_PATH, Folder);
        FileName = std::wstring(Folder) + L"zn_stream_test_" + std::to_wstring(GetCurrentProcessId()) + L".bin";
    }
    void TearDown() override { DeleteFileW(FileName.c_str()); }
    std::wstring FileName;
};

} // namespace

TEST(MemoryStream, GrowsOnWriteAndReadsBack) {
    TMemoryStream Stream;
    Stream.WriteBuffer("abc", 3);
    Stream.SetPosition(10);
    Stream.WriteBuffer("z", 1);
    EXPECT_EQ(Stream.Size(), 11);
    EXPECT_EQ(Stream.Position(), 11);
    std::string Expected("abc\0\0\0\0\0\0\0z", 11);
    EXPECT_EQ(Contents(Stream), Expected);
    Stream.Seek(-2, TSeekOrigin::soEnd);
    char Tail[4] = {};
    EXPECT_EQ(Stream.Read(Tail, 4), 2u);
    EXPECT_EQ(std::string(Tail, 2), std::string("\0z", 2));
    EXPECT_EQ(Stream.Remaining(), 0);
}

TEST(MemoryStream, ShortTransfersRaiseReadErrors) {
    TMemoryStream Stream;
    Stream.WriteBuffer("abcd", 4);
    Stream.SetPosition(1);
    char Buffer[8];
    try {
        Stream.ReadBuffer(Buffer, 4);
        FAIL() << "a short read passed";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), L"Stream read error");
    }
    EXPECT_THROW(Stream.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
}

TEST(MemoryStream, SetSizeReportsOutOfMemoryAndKeepsTheContents) {
    TMemoryStream Stream;
    Stream.WriteBuffer("keep", 4);
    EXPECT_THROW(Stream.SetSize(std::int64_t{3} << 30), EOutOfMemory);
    EXPECT_THROW(Stream.SetSize(std::int64_t{1} << 40), EOutOfMemory);
    EXPECT_THROW(Stream.SetSize(-1), EStreamError);
    EXPECT_EQ(Contents(Stream), "keep");
    Stream.SetSize(2);
    EXPECT_EQ(Contents(Stream), "ke");
    EXPECT_EQ(Stream.Position(), 2);
}

TEST(MemoryStream, CopyFromZeroCopiesTheWholeSource) {
    TMemoryStream Source, Target;
    Source.WriteBuffer("0123456789", 10);
    Source.SetPosition(7);
    EXPECT_EQ(Target.CopyFrom(Source, 0), 10);
    EXPECT_EQ(Contents(Target), "0123456789");
    Source.SetPosition(2);
    EXPECT_EQ(Target.CopyFrom(Source, 3), 3);
    EXPECT_EQ(Contents(Target), "0123456789234");
    Source.SetPosition(8);
    EXPECT_THROW(Target.CopyFrom(Source, 5), EReadError);
}

TEST(MemoryStream, LoadFromStreamReplacesTheContents) {
    TMemoryStream Source, Target;
    Source.WriteBuffer("new", 3);
    Target.WriteBuffer("older data", 10);
    Target.LoadFromStream(Source);
    EXPECT_EQ(Contents(Target), "new");
    EXPECT_EQ(Target.Position(), 0);
    Target.Clear();
    EXPECT_EQ(Target.Size(), 0);
}

TEST_F(FileStreamTest, CreateWriteReopenRead) {
    {
        TFileStream File(FileName, fmCreate);
        File.WriteBuffer("file bytes", 10);
        EXPECT_EQ(File.Size(), 10);
    }
    TMemoryStream Loaded;
    Loaded.LoadFromFile(FileName);
    EXPECT_EQ(Contents(Loaded), "file bytes");
    TFileStream File(FileName, fmOpenReadWrite | fmShareExclusive);
    File.Seek(5, TSeekOrigin::soBeginning);
    File.WriteBuffer("B", 1);
    File.SetSize(7);
    EXPECT_EQ(File.Size(), 7);
    char Buffer[7];
    File.SetPosition(0);
    File.ReadBuffer(Buffer, 7);
    EXPECT_EQ(std::string(Buffer, 7), "file By");
    EXPECT_THROW(File.ReadBuffer(Buffer, 1), EReadError);
}

TEST_F(FileStreamTest, SaveToFileAndSharing) {
    TMemoryStream Stream;
    Stream.WriteBuffer("saved", 5);
    Stream.SaveToFile(FileName);
    TFileStream Reader(FileName, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(Reader.Size(), 5);
    EXPECT_THROW(TFileStream(FileName, fmOpenWrite), EFOpenError);
    TFileStream SecondReader(FileName, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(SecondReader.Size(), 5);
}

TEST_F(FileStreamTest, MissingFilesAreNamedInTheError) {
    std::wstring Missing = FileName + L".missing";
    try {
        TFileStream File(Missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& E) {
        EXPECT_EQ(E.Message().rfind(L"Cannot open file \"" + Missing + L"\". ", 0), 0u) << E.what();
    }
    EXPECT_THROW(TFileStream(L"Z:\\no\\such\\folder\\x.bin", fmCreate), EFCreateError);
}

TEST(ResourceStream, ReadsRcDataByNameAndId) {
    TResourceStream ByName(nullptr, L"Greeting");
    std::string Text(static_cast<size_t>(ByName.Size()), '\0');
    ByName.ReadBuffer(Text.data(), Text.size());
    EXPECT_EQ(Text, "Hello, resources");
    TResourceStream ById(nullptr, 101);
    ASSERT_EQ(ById.Size(), 6);
    const auto* Bytes = static_cast<const unsigned char*>(ById.Memory());
    EXPECT_EQ(Bytes[0], 1);
    EXPECT_EQ(Bytes[2], 2);
}

TEST(ResourceStream, IsReadOnlyAndMissingResourcesRaise) {
    TResourceStream Stream(nullptr, L"Greeting");
    EXPECT_THROW(Stream.Write("x", 1), EStreamError);
    EXPECT_THROW(Stream.SetSize(1), EStreamError);
    try {
        TResourceStream Missing(nullptr, L"NoSuchThing");
        FAIL() << "found a missing resource";
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), L"Resource NoSuchThing not found");
    }
}
