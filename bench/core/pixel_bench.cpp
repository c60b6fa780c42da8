// How fast the per-pixel work of a repaint runs on a 1024 x 768 dirty rectangle: the alpha pass
// and the rectangle fill, against memcpy of the same bytes. Prints nanoseconds per pixel.
//   scripts/wine-run build/bench/core/bench_core.exe
#include "zintara/core/alpha.h"
#include "zintara/core/pixels.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kPixels = kWidth * kHeight;
constexpr int kRounds = 200;

// The best of several timed batches, so that a busy machine shows the routine, not its neighbours.
template <class Work>
double NanosecondsPerPixel(Work work)
{
    using clock = std::chrono::steady_clock;
    double best = 1e30;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = clock::now();
        for (int round = 0; round < kRounds; ++round)
            work(round);
        const std::chrono::duration<double, std::nano> elapsed = clock::now() - start;
        best = std::min(best, elapsed.count() / (double(kRounds) * kPixels));
    }
    return best;
}

// A frame of anti-aliased content: a mix of untouched, opaque and partly covered pixels, as the
// player leaves them over black and over white.
void RenderFrame(std::vector<std::uint32_t>& overBlack, std::vector<std::uint32_t>& overWhite)
{
    std::uint32_t seed = 12345;
    for (int i = 0; i < kPixels; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const std::uint32_t alpha = (seed >> 24) & 0xFF;
        const std::uint32_t colour = seed & 0xFFFFFF;
        const auto premultiply = [&](int shift) { return ((colour >> shift & 0xFF) * alpha / 255) << shift; };
        const std::uint32_t black = premultiply(16) | premultiply(8) | premultiply(0);
        const std::uint32_t lift = 255 - alpha;
        overBlack[i] = 0xFF000000u | black;
        overWhite[i] = 0xFF000000u | (black + (lift << 16 | lift << 8 | lift));
    }
}

} // namespace

int main()
{
    std::vector<std::uint32_t> overBlack(kPixels), overWhite(kPixels), frameBlack(kPixels),
        copy(kPixels);
    RenderFrame(frameBlack, overWhite);
    const zn::TznPixelRect whole{0, 0, kWidth, kHeight};

    // The pass rewrites its input, so each round starts from a fresh copy of the frame; that copy
    // is measured on its own and subtracted.
    const double refresh = NanosecondsPerPixel([&](int) {
        std::memcpy(overBlack.data(), frameBlack.data(), kPixels * sizeof(std::uint32_t));
    });
    const double alphaWithRefresh = NanosecondsPerPixel([&](int) {
        std::memcpy(overBlack.data(), frameBlack.data(), kPixels * sizeof(std::uint32_t));
        zn::RecoverAlpha(overBlack.data(), overWhite.data(), kWidth, kHeight, whole);
    });
    const double fill = NanosecondsPerPixel([&](int round) {
        zn::FillLongwordRect(copy.data(), kWidth, kHeight, 0, 0, kWidth, kHeight,
                             round & 1 ? 0xFF000000u : 0xFFFFFFFFu);
    });
    const double memcpyTime = NanosecondsPerPixel([&](int) {
        std::memcpy(copy.data(), frameBlack.data(), kPixels * sizeof(std::uint32_t));
    });

    std::printf("dirty rectangle %d x %d, %d rounds, best of 5 batches\n", kWidth, kHeight, kRounds);
    std::printf("memcpy of the same bytes   %6.3f ns/pixel\n", memcpyTime);
    std::printf("FillLongwordRect           %6.3f ns/pixel (%.2f x memcpy)\n", fill, fill / memcpyTime);
    std::printf("RecoverAlpha               %6.3f ns/pixel (%.2f x memcpy)\n",
                alphaWithRefresh - refresh, (alphaWithRefresh - refresh) / memcpyTime);
    return overBlack[kPixels / 2] == 0x12345678u ? 1 : 0;
}
