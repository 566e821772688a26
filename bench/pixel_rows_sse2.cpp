// The row kernels once more, built for the SSE2 baseline alone and under a namespace of their
// own, so that one run measures both what any x86-64 gets and what AVX2 adds.
#define VELMORA_SSE2_ONLY
#define plat plat_sse2
#include "platform/base/pixel_rows.cpp"  // NOLINT(bugprone-suspicious-include)
