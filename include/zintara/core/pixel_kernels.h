// The row routines behind the alpha pass and the fills, one set per instruction-set level.
//
// The library runs the widest set the processor supports, chosen once. A set is chosen whole:
// on some processors legacy-encoded SSE runs several times slower for a while after any 256-bit
// instruction, even with vzeroupper between them, so every routine of the AVX2 set is
// VEX-encoded, and only its alpha pass, the last step of a repaint, uses 256-bit instructions. Tests and
// benchmarks walk the list to hold every set to the same results and to compare their speed.
//
// Plain C++: no Windows header.
#pragma once

#include <cstdint>
#include <span>

namespace zn {

struct TznPixelKernels {
    const char* Name;
    // RecoverAlphaPixel over Count pixels of one row; OverWhite is only read.
    void (*RecoverAlphaRow)(std::uint32_t* OverBlack, const std::uint32_t* OverWhite,
                            int Count) noexcept;
    // Value into Count consecutive words; Count >= 0.
    void (*FillRow)(std::uint32_t* Dest, int Count, std::uint32_t Value) noexcept;
};

// The sets this processor runs, widest first; the scalar set is always last.
std::span<const TznPixelKernels> SupportedPixelKernels() noexcept;

// The set the library's own routines use: the first of SupportedPixelKernels.
const TznPixelKernels& ActivePixelKernels() noexcept;

} // namespace zn
