// LZH_FORCE_INLINE marks the small functions of the decoder's per-symbol path
// that must fold into the decoding loop, so that the bit reader's state and
// the tree pointers stay in registers across a whole symbol; LZH_NO_INLINE
// keeps rare slow steps (buffer fills, flushes) out of that loop, and
// LZH_UNLIKELY marks the branch to such a step. Assumes a
// GCC-compatible compiler (GCC and MinGW are the ones the build uses);
// elsewhere both fall back to the compiler's own choice.
#pragma once

#if defined(__GNUC__)
#define LZH_FORCE_INLINE inline __attribute__((always_inline))
#define LZH_NO_INLINE __attribute__((noinline))
#define LZH_UNLIKELY(condition) __builtin_expect(!!(condition), 0)
#else
#define LZH_FORCE_INLINE inline
#define LZH_NO_INLINE
#define LZH_UNLIKELY(condition) (condition)
#endif
