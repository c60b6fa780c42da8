// The scalar set, and the choice of the set the library runs.
#include "pixel_kernel_sets.h"
#include "zintara/core/alpha.h"

#include <array>
#include <cstddef>

namespace zn {
namespace kernels {

void RecoverAlphaRowScalar(std::uint32_t* black, const std::uint32_t* white, int count) noexcept
{
    for (int x = 0; x < count; ++x)
        black[x] = RecoverAlphaPixel(black[x], white[x]);
}

namespace {

// The string store rather than a loop: processors without SSE2 already run it a cache line at a
// time on long runs, where a loop stores one word a cycle, as the C library's memset does here.
void FillRowScalar(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    if (count > 0)
        __asm__ volatile("rep stosl" : "+D"(word), "+c"(count) : "a"(value) : "memory");
}

} // namespace

constinit const TznPixelKernels Scalar{"scalar", RecoverAlphaRowScalar, FillRowScalar};

} // namespace kernels

namespace {

struct TznKernelList {
    std::array<TznPixelKernels, 3> Sets;
    std::size_t Count = 0;

    void Add(const TznPixelKernels& kernels) noexcept { Sets[Count++] = kernels; }
};

TznKernelList DetectKernels() noexcept
{
    // The check reads the processor's own flags and whether the system saves the wider registers.
    __builtin_cpu_init();
    TznKernelList list;
    if (__builtin_cpu_supports("avx2"))
        list.Add(kernels::Avx2);
    if (__builtin_cpu_supports("sse2"))
        list.Add(kernels::Sse2);
    list.Add(kernels::Scalar);
    return list;
}

const TznKernelList& Kernels() noexcept
{
    static const TznKernelList list = DetectKernels();
    return list;
}

} // namespace

std::span<const TznPixelKernels> SupportedPixelKernels() noexcept
{
    return {Kernels().Sets.data(), Kernels().Count};
}

const TznPixelKernels& ActivePixelKernels() noexcept
{
    return Kernels().Sets[0];
}

} // namespace zn
