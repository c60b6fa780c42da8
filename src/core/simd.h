// Whether the SSE2 kernels of the pixel routines may run: they are compiled into every x86 build
// and chosen at run time, because the library's baseline processor has no SSE2.
#pragma once

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
#define ZN_HAVE_SSE2_KERNELS 1
#define ZN_SSE2_KERNEL __attribute__((target("sse2")))
#include <emmintrin.h>
#else
#define ZN_HAVE_SSE2_KERNELS 0
#endif

namespace zn::simd {

inline bool ProcessorHasSse2() noexcept
{
#if ZN_HAVE_SSE2_KERNELS
    static const bool has_sse2 = __builtin_cpu_supports("sse2");
    return has_sse2;
#else
    return false;
#endif
}

} // namespace zn::simd
