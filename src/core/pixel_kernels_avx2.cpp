// The AVX2 set: eight pixels an instruction, every instruction VEX-encoded.
#include "fill_row_128.h"
#include "pixel_kernel_sets.h"
#include "simd.h"

namespace zn::kernels {
namespace {

// The SSE2 set's rule (see there), with a byte shuffle to copy the coverage into its pixel.
ZN_AVX2_KERNEL void RecoverAlphaRowAvx2(std::uint32_t* black, const std::uint32_t* white,
                                        int count) noexcept
{
    const __m256i red_of_each_pixel =
        _mm256_setr_epi8(2, 2, 2, 2, 6, 6, 6, 6, 10, 10, 10, 10, 14, 14, 14, 14, //
                         2, 2, 2, 2, 6, 6, 6, 6, 10, 10, 10, 10, 14, 14, 14, 14);
    const __m256i ones = _mm256_set1_epi32(-1);
    const __m256i alpha_byte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        auto* octet = reinterpret_cast<__m256i*>(black + x);
        const __m256i over_black = _mm256_loadu_si256(octet);
        const __m256i over_white = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(white + x));
        const __m256i lift = _mm256_sub_epi8(over_white, over_black);
        const __m256i coverage =
            _mm256_xor_si256(_mm256_shuffle_epi8(lift, red_of_each_pixel), ones);
        _mm256_storeu_si256(octet,
                            _mm256_min_epu8(_mm256_or_si256(over_black, alpha_byte), coverage));
    }
    RecoverAlphaRowScalar(black + x, white + x, count - x);
}

ZN_AVX2_KERNEL void FillRowAvx2(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    FillRow128(word, count, value);
}

} // namespace

constinit const TznPixelKernels Avx2{"avx2", RecoverAlphaRowAvx2, FillRowAvx2};

} // namespace zn::kernels
