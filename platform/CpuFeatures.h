#pragma once
// Which vector instructions the pixel loops may use. TINCTARA_X86 is set
// where SSE2 is part of the base instruction set (x86-64), so SSE2 kernels
// need no check; the others are asked of the processor once.

#if defined(__x86_64__)
#include <immintrin.h>
#define TINCTARA_X86 1

namespace platform {

inline bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

inline bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

} // namespace platform
#endif
