// The 16-byte fill shared by the SSE2 and the AVX2 sets. Inlined into each, it comes out
// legacy-encoded in the one and VEX-encoded in the other.
//
// Sixteen bytes a store rather than the AVX2 set's 32: a fill is followed by the player's own
// drawing, and on some processors legacy-encoded SSE there runs much slower for a while after
// any 256-bit instruction. Sixteen-byte stores already run at the speed of the cache.
#pragma once

#include "simd.h"

#include <cstdint>

namespace zn::kernels {

ZN_SSE2_INLINE void FillRow128(std::uint32_t* word, int count, std::uint32_t value) noexcept
{
    std::uint32_t* const end = word + count;
    // Aligned stores: a buffer's rows start anywhere on a 4-byte boundary.
    for (; word < end && (reinterpret_cast<std::uintptr_t>(word) & 15) != 0; ++word)
        *word = value;
    // Two stores a step keep the loop's own instructions out of the way of the stores: the
    // processor retires two 16-byte stores a cycle where it can.
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; end - word >= 8; word += 8) {
        _mm_store_si128(reinterpret_cast<__m128i*>(word), four);
        _mm_store_si128(reinterpret_cast<__m128i*>(word + 4), four);
    }
    for (; word < end; ++word)
        *word = value;
}

} // namespace zn::kernels
