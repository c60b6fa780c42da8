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
    const __m128i red_byte = _mm_set1_epi32(0x00FF0000);
    const __m128i both_bytes = _mm_set1_epi16(0x0101);
    const __m128i alpha_byte = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        auto* quad = reinterpret_cast<__m128i*>(black + x);
        const __m128i over_black = _mm_loadu_si128(quad);
        const __m128i over_white = _mm_loadu_si128(reinterpret_cast<const __m128i*>(white + x));
        // The lift of red inverted, which is the coverage, alone in the low byte of the upper
        // 16-bit half of its pixel.
        const __m128i lift = _mm_sub_epi8(over_white, over_black);
        const __m128i coverage_word = _mm_andnot_si128(lift, red_byte);
        // Without a byte shuffle: that half into both halves, then, multiplied by 0x0101, into
        // both bytes of each.
        const __m128i coverage_halves =
            _mm_shufflehi_epi16(_mm_shufflelo_epi16(coverage_word, 0xF5), 0xF5);
        const __m128i coverage = _mm_mullo_epi16(coverage_halves, both_bytes);
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
