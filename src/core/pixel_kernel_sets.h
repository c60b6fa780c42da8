// The kernel sets of each instruction-set level, defined one file a level.
#pragma once

#include "zintara/core/pixel_kernels.h"

namespace zn::kernels {

// The scalar alpha row, which the wider kernels also run on the pixels left over after their
// last whole group.
void RecoverAlphaRowScalar(std::uint32_t* black, const std::uint32_t* white, int count) noexcept;

extern const TznPixelKernels Scalar;
extern const TznPixelKernels Sse2;
extern const TznPixelKernels Avx2;

} // namespace zn::kernels
