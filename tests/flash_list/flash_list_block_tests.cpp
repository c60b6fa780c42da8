// The "FlashStream" block byte for byte, and what reading makes of blocks that lie.
#include "zintara/core/flash_list.h"

#include "flash_list_test_support.h"

#include "zintara/framework/exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

void Fill(TMemoryStream& Stream, const TBytes& Bytes)
{
    Stream.Clear();
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
    Stream.SetPosition(0);
}

void AppendInt32(TBytes& Bytes, std::int32_t Value)
{
    auto bits = static_cast<std::uint32_t>(Value);
    for (int shift = 0; shift < 32; shift += 8)
        Bytes.push_back(static_cast<unsigned char>(bits >> shift));
}

TBytes TenBytes()
{
    return {0, 1, 2, 3, 0xFF, 0xFE, 'x', 'y', 'z', 0x80};
}

// A reader's view of a block: what ReadFlashBlock leaves behind.
struct TReadResult {
    bool Read;
    std::wstring Name;
    TBytes Data;
    std::int64_t Consumed;
};

TReadResult ReadBlock(const TBytes& Block, std::wstring Name = L"before", TBytes Data = {9, 9})
{
    TMemoryStream stream;
    Fill(stream, Block);
    TMemoryStream target;
    Fill(target, Data);
    bool read = ReadFlashBlock(stream, Name, target);
    return {read, Name, Contents(target), stream.Position()};
}

} // namespace

TEST(FlashBlockWriting, ItemWithBytesIsKindFourWithNameAndSize)
{
    TMemoryStream data;
    Fill(data, TenBytes());
    data.SetPosition(7);
    TMemoryStream block;
    WriteFlashBlock(block, L"a.swf", data);

    TBytes expected = {4, 5, 0, 0, 0, 'a', 0, '.', 0, 's', 0, 'w', 0, 'f', 0, 10, 0, 0, 0};
    for (unsigned char byte : TenBytes())
        expected.push_back(byte);
    ASSERT_EQ(expected.size(), 29u);
    EXPECT_EQ(Contents(block), expected);
    EXPECT_EQ(data.Position(), 7)
        << "writing takes the bytes from the start without moving the item";
}

TEST(FlashBlockWriting, ItemWithoutBytesIsTheSingleByteZero)
{
    TMemoryStream data;
    TMemoryStream block;
    WriteFlashBlock(block, L"named.swf", data);
    EXPECT_EQ(Contents(block), TBytes{0});
}

TEST(FlashBlockReading, WideNameRoundTripsEveryUtf16Unit)
{
    // The emoji as its surrogate pair, spelt out: a wchar_t holds one UTF-16 unit, whatever its
    // width.
    std::wstring name = L"\u00e9t\u00e9 \u4e2d\u6587 ";
    name += {wchar_t{0xD83D}, wchar_t{0xDE00}};
    name += L".swf";
    TMemoryStream data;
    Fill(data, TenBytes());
    TMemoryStream block;
    WriteFlashBlock(block, name, data);

    TReadResult result = ReadBlock(Contents(block));
    EXPECT_TRUE(result.Read);
    EXPECT_EQ(result.Name, name);
    EXPECT_EQ(result.Data, TenBytes());
    EXPECT_EQ(result.Consumed, block.Size());
}

TEST(FlashBlockReading, AnsiNameOfKindTwo)
{
    TBytes block = {2};
    AppendInt32(block, 8);
    for (char c : std::string("clip.flv"))
        block.push_back(static_cast<unsigned char>(c));
    AppendInt32(block, 10);
    for (unsigned char byte : TenBytes())
        block.push_back(byte);

    TReadResult result = ReadBlock(block);
    EXPECT_TRUE(result.Read);
    EXPECT_EQ(result.Name, L"clip.flv");
    EXPECT_EQ(result.Data, TenBytes());
    EXPECT_EQ(result.Consumed, static_cast<std::int64_t>(block.size()));
}

TEST(FlashBlockReading, ReadingKeepsTheTargetPosition)
{
    TMemoryStream data;
    Fill(data, TenBytes());
    TMemoryStream block;
    WriteFlashBlock(block, L"a.swf", data);
    block.SetPosition(0);

    TMemoryStream target;
    std::wstring name;
    ASSERT_TRUE(ReadFlashBlock(block, name, target));
    EXPECT_EQ(target.Position(), 0);
    EXPECT_EQ(Contents(target), TenBytes());
}

TEST(FlashBlockReading, OtherKindsAreOneByteAndChangeNothing)
{
    for (unsigned char kind : {0, 1, 3, 5, 7, 0xFF}) {
        TReadResult result = ReadBlock({kind, 5, 0, 0, 0, 'a', 0});
        EXPECT_FALSE(result.Read) << int(kind);
        EXPECT_EQ(result.Name, L"before") << int(kind);
        EXPECT_EQ(result.Data, (TBytes{9, 9})) << int(kind);
        EXPECT_EQ(result.Consumed, 1) << int(kind);
    }
}

// A block whose lengths promise more than it holds must fail before it allocates, and leave
// the item as it was.
class FlashBlockLies : public testing::TestWithParam<TBytes> {};

TEST_P(FlashBlockLies, RaiseReadErrorAndLeaveTheItemAlone)
{
    std::wstring name = L"before";
    TMemoryStream stream;
    Fill(stream, GetParam());
    TMemoryStream target;
    Fill(target, {9, 9});
    EXPECT_THROW(ReadFlashBlock(stream, name, target), EReadError);
    EXPECT_EQ(name, L"before");
    EXPECT_EQ(Contents(target), (TBytes{9, 9}));
}

namespace {

TBytes WideBlock(std::int32_t NameLength, std::int32_t Size, std::size_t BytesAfter = 0)
{
    TBytes block = {4};
    AppendInt32(block, NameLength);
    if (NameLength == 1)
        block.insert(block.end(), {'a', 0});
    AppendInt32(block, Size);
    block.resize(block.size() + BytesAfter, 0x55);
    return block;
}

TBytes AnsiBlock(std::int32_t NameLength)
{
    TBytes block = {2};
    AppendInt32(block, NameLength);
    block.insert(block.end(), {'a', 'b', 'c'});
    return block;
}

// Every proper prefix of a valid block.
std::vector<TBytes> Truncations()
{
    TBytes whole = WideBlock(1, 3, 3);
    std::vector<TBytes> prefixes;
    for (std::size_t length = 0; length < whole.size(); ++length)
        prefixes.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    return prefixes;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Lengths, FlashBlockLies,
                         testing::Values(WideBlock(-1, 0), WideBlock(INT32_MIN, 0),
                                         WideBlock(0x40000000, 0), WideBlock(INT32_MAX, 0),
                                         WideBlock(1, -1), WideBlock(1, INT32_MIN),
                                         WideBlock(1, INT32_MAX, 10), WideBlock(1, 11, 10),
                                         AnsiBlock(-3), AnsiBlock(4), AnsiBlock(INT32_MAX)));
INSTANTIATE_TEST_SUITE_P(Truncated, FlashBlockLies, testing::ValuesIn(Truncations()));
