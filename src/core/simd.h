// Instruction-set levels of the pixel kernels. The library's baseline processor has no SSE2, so
// each kernel names its level on itself and is chosen at run time; code inlined into a kernel is
// compiled for the kernel's level, so the AVX2 kernels are VEX-encoded throughout.
#pragma once

#include <immintrin.h>

#define ZN_SSE2_KERNEL __attribute__((target("sse2")))
#define ZN_AVX2_KERNEL __attribute__((target("avx2")))
// A body shared by several levels: written with SSE2 intrinsics, encoded as its caller's level.
#define ZN_SSE2_INLINE __attribute__((target("sse2"), always_inline)) inline
