#pragma once
// Invariants: checked in debug and sanitizer builds (VELMORA_CHECKED), gone from release builds,
// where they cost nothing. For preconditions of row access and pixel kernels, not for input
// from outside, which is checked and refused in every build.
#if !defined(NDEBUG) || defined(VELMORA_CHECKED)
#include <cstdio>
#include <cstdlib>
#define VELMORA_ASSERT(condition)                                                          \
  ((condition) ? static_cast<void>(0)                                                      \
               : (std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                               #condition),                                               \
                  std::abort()))
#else
#define VELMORA_ASSERT(condition) static_cast<void>(0)
#endif
