// Code-generation hints for the decoder's per-symbol path.
// LZH_FORCE_INLINE marks small functions that must fold into the decoding
// loop, so that the bit reader's state and the tree pointers stay in
// registers across a whole symbol; LZH_NO_INLINE keeps rare slow steps
// (buffer fills, flushes) out of that loop, and LZH_UNLIKELY marks the branch
// to such a step (LZH_LIKELY the branch around it). LZH_OPAQUE(value) hides
// how a value was computed, so that the compiler keeps an address in the
// form written (a base chosen off a chain of loads) instead of folding it
// back into that chain.
// Assumes a GCC-compatible compiler (GCC and MinGW are the ones the build
// uses); elsewhere the hints fall back to the compiler's own choices.
#pragma once

#if defined(__GNUC__)
#define LZH_FORCE_INLINE inline __attribute__((always_inline))
#define LZH_NO_INLINE __attribute__((noinline))
#define LZH_UNLIKELY(condition) __builtin_expect(!!(condition), 0)
#define LZH_LIKELY(condition) __builtin_expect(!!(condition), 1)
#define LZH_OPAQUE(value) __asm__("" : "+r"(value))
#else
#define LZH_FORCE_INLINE inline
#define LZH_NO_INLINE
#define LZH_UNLIKELY(condition) (condition)
#define LZH_LIKELY(condition) (condition)
#define LZH_OPAQUE(value) static_cast<void>(value)
#endif
