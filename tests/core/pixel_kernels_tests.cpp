// Every kernel set this processor runs, held to the scalar rule: random rows of every length
// and alignment, every pair of red values with colours around the cap, and fills; none may write
// a word outside its row.
#include "zintara/core/alpha.h"
#include "zintara/core/pixel_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

using namespace zn;

namespace {

constexpr std::uint32_t kGuard = 0xA5C3E187u;
constexpr int kGuardWords = 16;

// A row of Count words starting Offset words past a 64-byte boundary, between guard words.
class GuardedRow {
public:
    GuardedRow(int count, int offset)
        : count_(count), words_(static_cast<std::size_t>(count) + 2 * kGuardWords + 24, kGuard)
    {
        const auto address = reinterpret_cast<std::uintptr_t>(words_.data() + kGuardWords);
        start_ = kGuardWords + (((address + 63) & ~std::uintptr_t{63}) - address) / 4 +
                 static_cast<std::size_t>(offset);
    }
    std::uint32_t* Data() { return words_.data() + start_; }
    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < words_.size(); ++i)
            if ((i < start_ || i >= start_ + static_cast<std::size_t>(count_)) &&
                words_[i] != kGuard)
                return false;
        return true;
    }

private:
    int count_;
    std::size_t start_;
    std::vector<std::uint32_t> words_;
};

class PixelKernels : public ::testing::TestWithParam<TznPixelKernels> {
protected:
    const TznPixelKernels& Kernels() const { return GetParam(); }

    // Runs the alpha row kernel on a copy of Black placed Offset words past a 64-byte boundary
    // and checks every pixel against RecoverAlphaPixel.
    void ExpectAlphaRowFollowsTheRule(const std::vector<std::uint32_t>& black,
                                      const std::vector<std::uint32_t>& white, int offset)
    {
        const int count = static_cast<int>(black.size());
        GuardedRow row(count, offset), white_row(count, offset);
        std::copy(black.begin(), black.end(), row.Data());
        std::copy(white.begin(), white.end(), white_row.Data());
        Kernels().RecoverAlphaRow(row.Data(), white_row.Data(), count);
        for (int x = 0; x < count; ++x) {
            ASSERT_EQ(row.Data()[x], RecoverAlphaPixel(black[x], white[x]))
                << "pixel " << x << " of " << count << " at offset " << offset << ": over black "
                << std::hex << black[x] << ", over white " << white[x];
            ASSERT_EQ(white_row.Data()[x], white[x]) << "pixel " << x << " over white";
        }
        EXPECT_TRUE(row.GuardsIntact()) << count << " pixels at offset " << offset;
        EXPECT_TRUE(white_row.GuardsIntact()) << count << " pixels at offset " << offset;
    }
};

} // namespace

namespace zn {
// Failure messages name the set rather than dump its bytes.
void PrintTo(const TznPixelKernels& kernels, std::ostream* out)
{
    *out << kernels.Name;
}
} // namespace zn

namespace {

std::string KernelName(const ::testing::TestParamInfo<TznPixelKernels>& info)
{
    return info.param.Name;
}

} // namespace

TEST_P(PixelKernels, AlphaRowsOfRandomPixelsAtEveryLengthAndAlignment)
{
    std::mt19937 random(20261208);
    for (int count : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 257, 1000})
        for (int offset = 0; offset < 8; ++offset) {
            // Any words at all: red may fall from black to white, which wraps the coverage.
            std::vector<std::uint32_t> black(count), white(count);
            for (int x = 0; x < count; ++x) {
                black[x] = random();
                white[x] = random();
            }
            ExpectAlphaRowFollowsTheRule(black, white, offset);
            if (HasFatalFailure())
                return;
        }
}

TEST_P(PixelKernels, AlphaRowsOfEveryRedPairWithColoursAroundTheCap)
{
    // For each pair of red values, colour bytes just below, at and above the coverage and at
    // both ends, with the alpha byte the player left at 0, 0xFF or anything between.
    std::vector<std::uint32_t> black, white;
    for (int black_red = 0; black_red < 256; ++black_red)
        for (int white_red = 0; white_red < 256; ++white_red) {
            const int coverage = 255 - ((white_red - black_red) & 0xFF);
            const int around[] = {0, coverage - 1, coverage, coverage + 1, 255};
            const int pick = (black_red * 3 + white_red) % 5;
            const auto byte = [](int value) { return static_cast<std::uint32_t>(value) & 0xFF; };
            const std::uint32_t left_alpha = byte(pick == 0 ? 0 : pick == 1 ? 0xFF : black_red);
            black.push_back(left_alpha << 24 | std::uint32_t(black_red) << 16 |
                            byte(around[pick]) << 8 | byte(around[(pick + 2) % 5]));
            white.push_back(0xFF000000u | std::uint32_t(white_red) << 16 | 0xFFFFu);
        }
    ExpectAlphaRowFollowsTheRule(black, white, 0);
    ExpectAlphaRowFollowsTheRule(black, white, 3);
}

TEST_P(PixelKernels, FillRowsOfEveryLengthAndAlignmentStayInsideTheRow)
{
    for (int count = 0; count <= 40; ++count)
        for (int offset = 0; offset < 8; ++offset) {
            GuardedRow row(count, offset);
            Kernels().FillRow(row.Data(), count, 0x80FF4020u);
            for (int x = 0; x < count; ++x)
                ASSERT_EQ(row.Data()[x], 0x80FF4020u)
                    << "word " << x << " of " << count << " at offset " << offset;
            ASSERT_TRUE(row.GuardsIntact()) << count << " words at offset " << offset;
        }
}

INSTANTIATE_TEST_SUITE_P(EverySupportedSet, PixelKernels,
                         ::testing::ValuesIn(SupportedPixelKernels().begin(),
                                             SupportedPixelKernels().end()),
                         KernelName);
