// The alpha pass over a dirty rectangle.
#include "zintara/core/alpha.h"

#include "simd.h"

#include <cstddef>

namespace zn {
namespace {

void RecoverRowScalar(std::uint32_t* black, const std::uint32_t* white, int count) noexcept
{
    for (int x = 0; x < count; ++x)
        black[x] = RecoverAlphaPixel(black[x], white[x]);
}

#if ZN_HAVE_SSE2_KERNELS
// Four pixels at a time, the same rule as RecoverAlphaPixel: limiting each colour byte to the
// coverage is one unsigned byte minimum against the coverage copied into the three colour bytes.
ZN_SSE2_KERNEL void RecoverRowSse2(std::uint32_t* black, const std::uint32_t* white,
                                   int count) noexcept
{
    const __m128i byte_mask = _mm_set1_epi32(0xFF);
    const __m128i colour_mask = _mm_set1_epi32(0x00FFFFFF);
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        auto* black_quad = reinterpret_cast<__m128i*>(black + x);
        const __m128i over_black = _mm_loadu_si128(black_quad);
        const __m128i over_white = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + x));
        const __m128i red_black = _mm_and_si128(_mm_srli_epi32(over_black, 16), byte_mask);
        const __m128i red_white = _mm_and_si128(_mm_srli_epi32(over_white, 16), byte_mask);
        const __m128i lift = _mm_and_si128(_mm_sub_epi32(red_white, red_black), byte_mask);
        const __m128i alpha = _mm_sub_epi32(byte_mask, lift);
        const __m128i alpha_bytes =
            _mm_or_si128(alpha, _mm_or_si128(_mm_slli_epi32(alpha, 8), _mm_slli_epi32(alpha, 16)));
        const __m128i colour = _mm_and_si128(_mm_min_epu8(over_black, alpha_bytes), colour_mask);
        const __m128i pixel = _mm_or_si128(colour, _mm_slli_epi32(alpha, 24));
        const __m128i covered = _mm_cmpeq_epi32(alpha, _mm_setzero_si128());
        _mm_storeu_si128(black_quad, _mm_andnot_si128(covered, pixel));
    }
    RecoverRowScalar(black + x, white + x, count - x);
}
#endif

} // namespace

void RecoverAlpha(std::uint32_t* OverBlack, const std::uint32_t* OverWhite, int Width, int Height,
                  TznPixelRect Rect) noexcept
{
    if (OverBlack == nullptr || OverWhite == nullptr)
        return;
    const TznPixelRect rect = ClipToBuffer(Rect, Width, Height);
    const int count = rect.Right - rect.Left;
    auto recover_row = RecoverRowScalar;
#if ZN_HAVE_SSE2_KERNELS
    if (simd::ProcessorHasSse2())
        recover_row = RecoverRowSse2;
#endif
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(y) * Width + rect.Left;
        recover_row(OverBlack + first, OverWhite + first, count);
    }
}

} // namespace zn
