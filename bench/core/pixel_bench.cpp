// How fast the per-pixel work of a transparent repaint runs, against what the memory allows: the
// alpha pass next to a pass with the same traffic and no arithmetic (read the black and the white
// buffer, write the black one), memcpy of one buffer, and the rectangle fill next to memset of the
// same bytes. Measured on a whole 1920 x 1080 frame and on a 256 x 256 dirty rectangle inside it.
//
// Every routine runs once per round, the routines taking turns, and the buffer it writes is put
// back from a saved copy before each run, outside the timed part; each figure is the median of
// all rounds, so a busy neighbour on a shared machine moves few of them.
//
//   make build && scripts/wine-run build/bench/core/bench_core.exe
//
// By default the alpha pass and the fill are the library's own, with the kernels it chose for
// this processor. --kernels sse2 (or scalar, or avx2) runs that set's row kernels instead, and
// then no 256-bit instruction runs in the process unless the set is avx2: on some processors
// legacy-encoded SSE runs much slower for a while after any 256-bit instruction, even one
// followed by vzeroupper, so the SSE2 set is measured as a processor without AVX2 runs it.
#include "zintara/core/alpha.h"
#include "zintara/core/pixel_kernels.h"
#include "zintara/core/pixels.h"

#include <x86intrin.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr std::size_t kPixels = std::size_t{kWidth} * kHeight;

// The C library's routines called through a pointer, so the compiler cannot put its own inline
// expansion in their place: what is measured is what a caller of memset and memcpy gets.
void* (*volatile system_memset)(void*, int, std::size_t) = std::memset;
void* (*volatile system_memcpy)(void*, const void*, std::size_t) = std::memcpy;

// A pixel buffer on a 64-byte boundary, as a DIB section's page-aligned bits are.
class AlignedPixels {
public:
    AlignedPixels() : storage_(kPixels + 16) {}
    std::uint32_t* Data()
    {
        const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
        return reinterpret_cast<std::uint32_t*>((address + 63) & ~std::uintptr_t{63});
    }
    std::uint32_t* Row(int y) { return Data() + static_cast<std::ptrdiff_t>(y) * kWidth; }

private:
    std::vector<std::uint32_t> storage_;
};

// A frame of anti-aliased content: a mix of untouched, opaque and partly covered pixels, as the
// player leaves them over black and over white.
void RenderFrame(std::uint32_t* overBlack, std::uint32_t* overWhite)
{
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < kPixels; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const std::uint32_t alpha = (seed >> 24) & 0xFF;
        const std::uint32_t colour = seed & 0xFFFFFF;
        const auto premultiply = [&](int shift) {
            return ((colour >> shift & 0xFF) * alpha / 255) << shift;
        };
        const std::uint32_t black = premultiply(16) | premultiply(8) | premultiply(0);
        const std::uint32_t lift = 255 - alpha;
        overBlack[i] = 0xFF000000u | black;
        overWhite[i] = 0xFF000000u | (black + (lift << 16 | lift << 8 | lift));
    }
}

// The memory traffic of the alpha pass and nothing else: both buffers read, the first written.
// The 16-byte pass is built twice, legacy-encoded and VEX-encoded, so that it never pays for
// the 256-bit code that runs beside it.
__attribute__((target("sse2"), always_inline)) inline void
TrafficRow128(std::uint32_t* black, const std::uint32_t* white, int count)
{
    for (int x = 0; x + 4 <= count; x += 4) {
        auto* quad = reinterpret_cast<__m128i*>(black + x);
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + x));
        _mm_storeu_si128(quad, _mm_or_si128(_mm_loadu_si128(quad), w));
    }
}

__attribute__((target("sse2"))) void TrafficRowSse2(std::uint32_t* black,
                                                    const std::uint32_t* white, int count)
{
    TrafficRow128(black, white, count);
}

__attribute__((target("avx2"))) void TrafficRowVex128(std::uint32_t* black,
                                                      const std::uint32_t* white, int count)
{
    TrafficRow128(black, white, count);
}

__attribute__((target("avx2"))) void TrafficRowAvx2(std::uint32_t* black,
                                                    const std::uint32_t* white, int count)
{
    for (int x = 0; x + 8 <= count; x += 8) {
        auto* octet = reinterpret_cast<__m256i*>(black + x);
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(white + x));
        _mm256_storeu_si256(octet, _mm256_or_si256(_mm256_loadu_si256(octet), w));
    }
}

struct Region {
    const char* Name;
    zn::TznPixelRect Rect;
    int Rounds;

    int Columns() const { return Rect.Right - Rect.Left; }
    int Rows() const { return Rect.Bottom - Rect.Top; }
    std::size_t RowBytes() const { return std::size_t(Columns()) * sizeof(std::uint32_t); }
};

struct Routine {
    Routine(const char* name, std::function<void()> work) : Name(name), Work(std::move(work)) {}

    const char* Name;
    std::function<void()> Work;
    std::vector<std::uint64_t> Ticks;
};

double Median(std::vector<std::uint64_t> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return double(values[values.size() / 2]);
}

double TicksPerMicrosecond()
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    const std::uint64_t start_ticks = __rdtsc();
    while (clock::now() - start < std::chrono::milliseconds(50)) {
    }
    const std::chrono::duration<double, std::micro> elapsed = clock::now() - start;
    return double(__rdtsc() - start_ticks) / elapsed.count();
}

class Bench {
public:
    // Kernels: a set to run in place of the library's own routines, or null for those. Wide:
    // whether those run 256-bit code, so that the 256-bit traffic pass may run beside them.
    Bench(const zn::TznPixelKernels* kernels, bool wide) : kernels_(kernels), wide_(wide)
    {
        RenderFrame(frame_.Data(), white_.Data());
    }

    void Run(const Region& region)
    {
        std::vector<Routine> routines = RoutinesFor(region);
        for (int round = 0; round < region.Rounds; ++round)
            for (Routine& routine : routines) {
                Restore(region);
                const std::uint64_t start = __rdtsc();
                routine.Work();
                routine.Ticks.push_back(__rdtsc() - start);
            }
        Print(region, routines);
    }

private:
    const zn::TznPixelKernels* kernels_;
    bool wide_;
    AlignedPixels frame_, black_, white_;

    template <class RowWork>
    void EachRow(const Region& region, RowWork work)
    {
        for (int y = region.Rect.Top; y < region.Rect.Bottom; ++y)
            work(black_.Row(y) + region.Rect.Left, white_.Row(y) + region.Rect.Left);
    }

    // The black buffer as the player left it: what every routine starts from.
    void Restore(const Region& region)
    {
        for (int y = region.Rect.Top; y < region.Rect.Bottom; ++y)
            std::memcpy(black_.Row(y) + region.Rect.Left, frame_.Row(y) + region.Rect.Left,
                        region.RowBytes());
    }

    // The traffic baselines come first: the ratios are taken against the fastest of them.
    std::vector<Routine> RoutinesFor(const Region& r)
    {
        const int columns = r.Columns();
        const std::size_t bytes = r.RowBytes();
        const auto rows = [this, r, columns](auto row) {
            return [this, r, columns, row] {
                EachRow(r, [&](std::uint32_t* b, const std::uint32_t* w) { row(b, w, columns); });
            };
        };
        std::vector<Routine> routines;
        if (wide_) {
            routines.push_back({"traffic, 16 bytes (VEX)", rows(TrafficRowVex128)});
            routines.push_back({"traffic, 32 bytes (AVX2)", rows(TrafficRowAvx2)});
        } else {
            routines.push_back({"traffic, 16 bytes (SSE2)", rows(TrafficRowSse2)});
        }
        if (kernels_ != nullptr)
            routines.push_back({"alpha pass (row kernel)", rows(kernels_->RecoverAlphaRow)});
        else
            routines.push_back({"alpha pass (RecoverAlpha)", [this, r] {
                                    zn::RecoverAlpha(black_.Data(), white_.Data(), kWidth, kHeight,
                                                     r.Rect);
                                }});
        routines.push_back({"memcpy of one buffer", [this, r, bytes] {
                                EachRow(r, [&](std::uint32_t* b, const std::uint32_t* w) {
                                    system_memcpy(b, w, bytes);
                                });
                            }});
        routines.push_back({"memset", [this, r, bytes] {
                                EachRow(r, [&](std::uint32_t* b, const std::uint32_t*) {
                                    system_memset(b, 0, bytes);
                                });
                            }});
        if (kernels_ != nullptr)
            routines.push_back({"fill (row kernel)", [this, r, columns] {
                                    EachRow(r, [&](std::uint32_t* b, const std::uint32_t*) {
                                        kernels_->FillRow(b, columns, 0xFF000000u);
                                    });
                                }});
        else
            routines.push_back({"FillLongwordRect", [this, r] {
                                    zn::FillLongwordRect(black_.Data(), kWidth, kHeight,
                                                         r.Rect.Left, r.Rect.Top, r.Rect.Right,
                                                         r.Rect.Bottom, 0xFF000000u);
                                }});
        return routines;
    }

    static void Print(const Region& region, const std::vector<Routine>& routines)
    {
        static const double ticks_per_microsecond = TicksPerMicrosecond();
        std::vector<double> medians;
        for (const Routine& routine : routines)
            medians.push_back(Median(routine.Ticks));
        double traffic = medians[0];
        for (std::size_t i = 0; i < routines.size(); ++i)
            if (std::strncmp(routines[i].Name, "traffic", 7) == 0)
                traffic = std::min(traffic, medians[i]);
        const auto named = [&](const char* name) {
            for (std::size_t i = 0; i < routines.size(); ++i)
                if (std::strcmp(routines[i].Name, name) == 0)
                    return medians[i];
            return 0.0;
        };
        const double memcpy_ticks = named("memcpy of one buffer");
        const double memset_ticks = named("memset");

        std::printf("\n%s: %d x %d pixels, median of %d rounds\n", region.Name, region.Columns(),
                    region.Rows(), region.Rounds);
        std::printf("  %-28s %9s %8s %9s %8s %8s\n", "", "us", "GB/s", "/traffic", "/memcpy",
                    "/memset");
        for (std::size_t i = 0; i < routines.size(); ++i) {
            const double micros = medians[i] / ticks_per_microsecond;
            const double bytes = double(region.RowBytes()) * region.Rows();
            std::printf("  %-28s %9.1f %8.2f %9.2f %8.2f %8.2f\n", routines[i].Name, micros,
                        bytes / (micros * 1000.0), medians[i] / traffic, medians[i] / memcpy_ticks,
                        medians[i] / memset_ticks);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    const zn::TznPixelKernels* kernels = nullptr;
    if (argc == 3 && std::strcmp(argv[1], "--kernels") == 0) {
        for (const zn::TznPixelKernels& supported : zn::SupportedPixelKernels())
            if (std::strcmp(supported.Name, argv[2]) == 0)
                kernels = &supported;
        if (kernels == nullptr) {
            std::fprintf(stderr, "this processor does not run the kernels named %s\n", argv[2]);
            return 2;
        }
    }
    const char* measured = (kernels ? *kernels : zn::ActivePixelKernels()).Name;
    const bool wide = std::strcmp(measured, "avx2") == 0;
    std::printf("alpha pass and fill: %s %s kernels; %s 256-bit code in the process\n",
                kernels ? "the bench walking the" : "the library's own, with its", measured,
                wide ? "with" : "no");
    std::printf("GB/s counts the bytes of one buffer; /traffic is against the fastest traffic "
                "pass\n");
    Bench bench(kernels, wide);
    const int left = (kWidth - 256) / 2;
    const int top = (kHeight - 256) / 2;
    bench.Run({"whole frame", {0, 0, kWidth, kHeight}, 200});
    bench.Run({"dirty rectangle", {left, top, left + 256, top + 256}, 3000});
    return 0;
}
