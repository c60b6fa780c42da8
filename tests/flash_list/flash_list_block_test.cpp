// The "FlashStream" block byte for byte, and what reading makes of blocks that lie.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace zn;
using namespace zn::testing_support;

namespace {

void Fill(TMemoryStream& Stream, const TBytes& Bytes) {
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
    Stream.SetPosition(0);
}

void AppendInt32(TBytes& Bytes, std::int32_t Value) {
    auto Bits = static_cast<std::uint32_t>(Value);
    for (int Shift = 0; Shift < 32; Shift += 8) Bytes.push_back(static_cast<unsigned char>(Bits >> Shift));
}

TBytes TenBytes() { return {0, 1, 2, 3, 0xFF, 0xFE, 'x', 'y', 'z', 0x80}; }

// A reader's view of a block: what ReadFlashBlock leaves behind.
struct TReadResult {
    bool Read;
    std::wstring Name;
    TBytes Data;
    std::int64_t Consumed;
};

TReadResult ReadBlock(const TBytes& Block, std::wstring Name = L"before", TBytes Data = {9, 9}) {
    TMemoryStream Stream;
    Fill(Stream, Block);
    TMemoryStream Target;
    Fill(Target, Data);
    bool Read = ReadFlashBlock(Stream, Name, Target);
    return {Read, Name, Contents(Target), Stream.Position()};
}

} // namespace

TEST(FlashBlockWriting, ItemWithBytesIsKindFourWithNameAndSize) {
    TMemoryStream Data;
    Fill(Data, TenBytes());
    Data.SetPosition(7);
    TMemoryStream Block;
    WriteFlashBlock(Block, L"a.swf", Data);

    TBytes Expected = {4, 5, 0, 0, 0, 'a', 0, '.', 0, 's', 0, 'w', 0, 'f', 0, 10, 0, 0, 0};
    for (unsigned char Byte : TenBytes()) Expected.push_back(Byte);
    ASSERT_EQ(Expected.size(), 29u);
    EXPECT_EQ(Contents(Block), Expected);
    EXPECT_EQ(Data.Position(), 7) << "writing takes the bytes from the start without moving the item";
}

TEST(FlashBlockWriting, ItemWithoutBytesIsTheSingleByteZero) {
    TMemoryStream Data;
    TMemoryStream Block;
    WriteFlashBlock(Block, L"named.swf", Data);
    EXPECT_EQ(Contents(Block), TBytes{0});
}

TEST(FlashBlockReading, WideNameRoundTripsEveryUtf16Unit) {
    // The emoji as its surrogate pair, spelt out: a wchar_t holds one UTF-16 unit, whatever its width.
    std::wstring Name = L"\u00e9t\u00e9 \u4e2d\u6587 ";
    Name += {wchar_t{0xD83D}, wchar_t{0xDE00}};
    Name += L".swf";
    TMemoryStream Data;
    Fill(Data, TenBytes());
    TMemoryStream Block;
    WriteFlashBlock(Block, Name, Data);

    TReadResult Result = ReadBlock(Contents(Block));
    EXPECT_TRUE(Result.Read);
    EXPECT_EQ(Result.Name, Name);
    EXPECT_EQ(Result.Data, TenBytes());
    EXPECT_EQ(Result.Consumed, Block.Size());
}

TEST(FlashBlockReading, AnsiNameOfKindTwo) {
    TBytes Block = {2};
    AppendInt32(Block, 8);
    for (char C : std::string("clip.flv")) Block.push_back(static_cast<unsigned char>(C));
    AppendInt32(Block, 10);
    for (unsigned char Byte : TenBytes()) Block.push_back(Byte);

    TReadResult Result = ReadBlock(Block);
    EXPECT_TRUE(Result.Read);
    EXPECT_EQ(Result.Name, L"clip.flv");
    EXPECT_EQ(Result.Data, TenBytes());
    EXPECT_EQ(Result.Consumed, static_cast<std::int64_t>(Block.size()));
}

TEST(FlashBlockReading, ReadingKeepsTheTargetPosition) {
    TMemoryStream Data;
    Fill(Data, TenBytes());
    TMemoryStream Block;
    WriteFlashBlock(Block, L"a.swf", Data);
    Block.SetPosition(0);

    TMemoryStream Target;
    std::wstring Name;
    ASSERT_TRUE(ReadFlashBlock(Block, Name, Target));
    EXPECT_EQ(Target.Position(), 0);
    EXPECT_EQ(Contents(Target), TenBytes());
}

TEST(FlashBlockReading, OtherKindsAreOneByteAndChangeNothing) {
    for (unsigned char Kind : {0, 1, 3, 5, 7, 0xFF}) {
        TReadResult Result = ReadBlock({Kind, 5, 0, 0, 0, 'a', 0});
        EXPECT_FALSE(Result.Read) << int(Kind);
        EXPECT_EQ(Result.Name, L"before") << int(Kind);
        EXPECT_EQ(Result.Data, (TBytes{9, 9})) << int(Kind);
        EXPECT_EQ(Result.Consumed, 1) << int(Kind);
    }
}

// A block whose lengths promise more than it holds must fail before it allocates, and leave
// the item as it was.
class FlashBlockLies : public testing::TestWithParam<TBytes> {};

TEST_P(FlashBlockLies, RaiseReadErrorAndLeaveTheItemAlone) {
    std::wstring Name = L"before";
    TMemoryStream Stream;
    Fill(Stream, GetParam());
    TMemoryStream Target;
    Fill(Target, {9, 9});
    EXPECT_THROW(ReadFlashBlock(Stream, Name, Target), EReadError);
    EXPECT_EQ(Name, L"before");
    EXPECT_EQ(Contents(Target), (TBytes{9, 9}));
}

namespace {

TBytes WideBlock(std::int32_t NameLength, std::int32_t Size, std::size_t BytesAfter = 0) {
    TBytes Block = {4};
    AppendInt32(Block, NameLength);
    if (NameLength == 1) Block.insert(Block.end(), {'a', 0});
    AppendInt32(Block, Size);
    Block.resize(Block.size() + BytesAfter, 0x55);
    return Block;
}

TBytes AnsiBlock(std::int32_t NameLength) {
    TBytes Block = {2};
    AppendInt32(Block, NameLength);
    Block.insert(Block.end(), {'a', 'b', 'c'});
    return Block;
}

// Every proper prefix of a valid block.
std::vector<TBytes> Truncations() {
    TBytes Whole = WideBlock(1, 3, 3);
    std::vector<TBytes> Prefixes;
    for (std::size_t Length = 0; Length < Whole.size(); ++Length)
        Prefixes.emplace_back(Whole.begin(), Whole.begin() + static_cast<std::ptrdiff_t>(Length));
    return Prefixes;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Lengths, FlashBlockLies,
                         testing::Values(WideBlock(-1, 0), WideBlock(INT32_MIN, 0), WideBlock(0x40000000, 0),
                                         WideBlock(INT32_MAX, 0), WideBlock(1, -1), WideBlock(1, INT32_MIN),
                                         WideBlock(1, INT32_MAX, 10), WideBlock(1, 11, 10), AnsiBlock(-3),
                                         AnsiBlock(4), AnsiBlock(INT32_MAX)));
INSTANTIATE_TEST_SUITE_P(Truncated, FlashBlockLies, testing::ValuesIn(Truncations()));
