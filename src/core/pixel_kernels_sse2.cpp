// The SSE2 set: four pixels an instruction, for processors without AVX2.
#include "fill_row_128.h"
#include "pixel_kernel_sets.h"
#include "simd.h"

namespace zn::kernels {
namespace {

// RecoverAlphaPixel four pixels at a time. The lift of red from black to white, inverted, is the
// coverage; copied into all four bytes of its pixel it caps each colour byte with one unsigned
// byte minimum, and the alpha byte with the one of the black pixel forced to 0xFF. A coverage of
// 0 caps every byte to 0, which is the transparent pixel the rule asks for.
ZN_SSE2_KERNEL void RecoverAlphaRowSse2(std::uint32_t* black, const std::uint32_t* white,
                                        int count) noexcept
{
    const __m128i ones = _mm_set1_epi32(-1);
    const __m128i alpha_byte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        auto* quad = reinterpret_cast<__m128i*>(black + x);
        const __m128i over_black = _mm_loadu_si128(quad);
        const __m128i over_white = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + x));
        const __m128i inverted_lift = _mm_xor_si128(_mm_sub_epi8(over_white, over_black), ones);
        // Without a byte shuffle: the 16-bit half holding red (and alpha) into both halves of its
        // pixel, then red into both bytes of each half.
        const __m128i red_halves =
            _mm_shufflehi_epi16(_mm_shufflelo_epi16(inverted_lift, 0xF5), 0xF5);
        const __m128i red_high = _mm_slli_epi16(red_halves, 8);
        const __m128i coverage = _mm_or_si128(red_high, _mm_srli_epi16(red_high, 8));
        _mm_storeu_si128(quad, _mm_min_epu8(_mm_or_si128(over_black, alpha_byte), coverage));
    }
    RecoverAlphaRowScalar(black + x, white + x, count - x);
}

ZN_SSE2_KERNEL void FillRowSse2(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    FillRow128(word, count, value);
}

} // namespace

constinit const TznPixelKernels Sse2{"sse2", RecoverAlphaRowSse2, FillRowSse2};

} // namespace zn::kernels
