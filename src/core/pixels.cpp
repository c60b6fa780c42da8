// Copying and filling runs of 32-bit pixels.
#include "zintara/core/pixels.h"

#include "simd.h"

#include <cstddef>
#include <cstring>

namespace zn {
namespace {

void FillScalar(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    for (int i = 0; i < count; ++i)
        word[i] = value;
}

#if ZN_HAVE_SSE2_KERNELS
// Sixteen bytes a store. The system's 32-bit memset under Wine stores four at a time, and a
// pixel value is not a repeated byte anyway.
ZN_SSE2_KERNEL void FillSse2(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    int i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(word + i), four);
    FillScalar(word + i, count - i, value);
}
#endif

} // namespace

void MoveLongword(const void* Source, void* Dest, int Count) noexcept
{
    if (Count <= 0 || Source == nullptr || Dest == nullptr)
        return;
    std::memmove(Dest, Source, static_cast<std::size_t>(Count) * sizeof(std::uint32_t));
}

void FillLongword(void* Dest, int Count, std::uint32_t Value) noexcept
{
    if (Dest == nullptr || Count <= 0)
        return;
    auto* word = static_cast<std::uint32_t*>(Dest);
#if ZN_HAVE_SSE2_KERNELS
    if (simd::ProcessorHasSse2())
        return FillSse2(word, Count, Value);
#endif
    FillScalar(word, Count, Value);
}

void FillLongwordRect(void* Dest, int Width, int Height, int Left, int Top, int Right, int Bottom,
                      std::uint32_t Value) noexcept
{
    if (Dest == nullptr)
        return;
    const TznPixelRect rect = ClipToBuffer({Left, Top, Right, Bottom}, Width, Height);
    auto* pixels = static_cast<std::uint32_t*>(Dest);
    for (int y = rect.Top; y < rect.Bottom; ++y)
        FillLongword(pixels + static_cast<std::ptrdiff_t>(y) * Width + rect.Left,
                     rect.Right - rect.Left, Value);
}

} // namespace zn
