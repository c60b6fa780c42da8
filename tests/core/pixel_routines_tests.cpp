// The pixel record's layout, the colour conversion, and the fills and copies with their clipping.
#include "zintara/core/pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace zn;

namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEFu;

// A Width x Height buffer with a guard band of untouched words on both sides.
class PixelBuffer {
public:
    PixelBuffer(int width, int height)
        : width_(width), words_(static_cast<std::size_t>(width * height) + 2 * kGuard, kUntouched)
    {}
    std::uint32_t* Pixels() { return words_.data() + kGuard; }
    std::uint32_t At(int x, int y) const { return words_[kGuard + y * width_ + x]; }
    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < kGuard; ++i)
            if (words_[i] != kUntouched || words_[words_.size() - 1 - i] != kUntouched)
                return false;
        return true;
    }

private:
    static constexpr std::size_t kGuard = 64;
    int width_;
    std::vector<std::uint32_t> words_;
};

} // namespace

TEST(ColorRecLayout, ChannelsAndHalvesOfOneWord)
{
    const std::uint32_t word = 0x80FF4020u;
    TznColorRec rec;
    std::memcpy(&rec, &word, sizeof rec);
    EXPECT_EQ(rec.B, 0x20);
    EXPECT_EQ(rec.G, 0x40);
    EXPECT_EQ(rec.R, 0xFF);
    EXPECT_EQ(rec.A, 0x80);
    EXPECT_EQ(rec.Color(), word);
    EXPECT_EQ(rec.HiWord(), 0x4020);
    EXPECT_EQ(rec.LoWord(), 0x80FF);
}

TEST(ColorRecLayout, ViewsAPixelInsideABuffer)
{
    std::uint32_t buffer[2] = {0, 0};
    auto* rec = reinterpret_cast<PznColorRec>(&buffer[1]);
    rec->SetColor(0x11223344u);
    EXPECT_EQ(buffer[1], 0x11223344u);
    rec->A = 0xFF;
    EXPECT_EQ(buffer[1], 0xFF223344u);
    EXPECT_EQ(buffer[0], 0u);
}

TEST(ColorToPixel, SwapsRedAndBlueAndMakesItOpaque)
{
    EXPECT_EQ(ColorToPixel(0x00112233), 0xFF332211u);
    EXPECT_EQ(ColorToPixel(0x7F000000), 0xFF000000u);
    EXPECT_EQ(ColorToPixel(static_cast<std::int32_t>(0x80FFFFFFu)), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToPixel(0x000000FF), 0xFFFF0000u);
}

TEST(FillLongword, StoresEveryWordOfTheRunAndNothingElse)
{
    for (int count : {1, 3, 4, 5, 17, 1000}) {
        PixelBuffer buffer(count, 1);
        FillLongword(buffer.Pixels(), count, 0xFF00FF00u);
        for (int x = 0; x < count; ++x)
            ASSERT_EQ(buffer.At(x, 0), 0xFF00FF00u) << "count " << count << ", word " << x;
        EXPECT_TRUE(buffer.GuardsIntact()) << "count " << count;
    }
}

TEST(FillLongword, ZeroOrNegativeCountOrNullStoresNothing)
{
    PixelBuffer buffer(4, 1);
    FillLongword(buffer.Pixels(), 0, 1);
    FillLongword(buffer.Pixels(), -3, 1);
    FillLongword(nullptr, 4, 1);
    EXPECT_EQ(buffer.At(0, 0), kUntouched);
    EXPECT_TRUE(buffer.GuardsIntact());
}

TEST(MoveLongword, CopiesOverlappingRangesInEitherDirection)
{
    std::uint32_t words[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    MoveLongword(words, words + 2, 5);
    const std::uint32_t forward[8] = {0, 1, 0, 1, 2, 3, 4, 7};
    EXPECT_EQ(0, std::memcmp(words, forward, sizeof words));

    MoveLongword(words + 3, words, 5);
    const std::uint32_t backward[8] = {1, 2, 3, 4, 7, 3, 4, 7};
    EXPECT_EQ(0, std::memcmp(words, backward, sizeof words));

    MoveLongword(words + 1, words, 0);
    MoveLongword(words + 1, words, -1);
    EXPECT_EQ(0, std::memcmp(words, backward, sizeof words));
}

class FillLongwordRectTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 4;
    static constexpr int kHeight = 3;
    static constexpr std::uint32_t kFill = 0xFFFFFFFFu;

    PixelBuffer buffer{kWidth, kHeight};

    void Fill(int left, int top, int right, int bottom)
    {
        FillLongwordRect(buffer.Pixels(), kWidth, kHeight, left, top, right, bottom, kFill);
    }
    // Which pixels hold the fill, row by row, as '#' and '.'.
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < kHeight; ++y) {
            std::string row;
            for (int x = 0; x < kWidth; ++x)
                row += buffer.At(x, y) == kFill ? '#' : '.';
            rows.push_back(row);
        }
        EXPECT_TRUE(buffer.GuardsIntact());
        return rows;
    }
};

TEST_F(FillLongwordRectTest, FillsTheInsideRectangleOnly)
{
    Fill(1, 0, 3, 2);
    EXPECT_EQ(Picture(), (std::vector<std::string>{".##.", ".##.", "...."}));
}

TEST_F(FillLongwordRectTest, ClampsRightAndBottomToTheBuffer)
{
    Fill(1, 1, 10, 10);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"....", ".###", ".###"}));
}

TEST_F(FillLongwordRectTest, WholeRowsAreFilledAsOneRunThatStopsAtTheLastRow)
{
    Fill(0, 1, 4, 2);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"....", "####", "...."}));
    Fill(-3, 2, 9, 7);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"....", "####", "####"}));
}

TEST_F(FillLongwordRectTest, EmptyOrInvertedRectanglesWriteNothing)
{
    Fill(2, 2, 2, 3);
    Fill(0, 2, 4, 1);
    Fill(0, 5, 4, 6);
    Fill(3, 0, 1, 3);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"....", "....", "...."}));
}

TEST_F(FillLongwordRectTest, ClampsLeftAndTopSoNothingIsWrittenBeforeTheBuffer)
{
    Fill(-2, -1, 2, 1);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"##..", "....", "...."}));
    Fill(-100, -100, -50, -50);
    EXPECT_EQ(Picture(), (std::vector<std::string>{"##..", "....", "...."}));
}

TEST(ClipToBuffer, KeepsInsideRectanglesAndCutsTheRest)
{
    EXPECT_EQ(ClipToBuffer({1, 2, 3, 4}, 10, 10), (TznPixelRect{1, 2, 3, 4}));
    EXPECT_EQ(ClipToBuffer({-5, -5, 50, 60}, 10, 20), (TznPixelRect{0, 0, 10, 20}));
    EXPECT_TRUE(ClipToBuffer({12, 0, 15, 5}, 10, 10).IsEmpty());
    EXPECT_TRUE(ClipToBuffer({0, 0, 5, 5}, 0, 0).IsEmpty());
    const TznPixelRect inverted = ClipToBuffer({6, 6, 2, 2}, 10, 10);
    EXPECT_TRUE(inverted.IsEmpty());
    EXPECT_GE(inverted.Right, inverted.Left);
    EXPECT_GE(inverted.Bottom, inverted.Top);
}
