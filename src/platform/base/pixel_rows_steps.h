// The vector steps of the row kernels, written once over a few named operations (and the fade's
// step, which each instruction set does its own way) and included
// twice by pixel_rows.cpp: for SSE2 (every x86-64) and, built for AVX2, for processors that have
// it. No include guard, on purpose. Bytes are widened to 16-bit lanes, multiplied, divided by 255
// exactly as Div255 does (t = x + 128; (t * 257) >> 16 is (t + (t >> 8)) >> 8 for every t a lane
// can hold here) and narrowed back. Each Steps function works whole steps only and returns how
// many pixels it did; the caller does the rest through the per-pixel formula.

constexpr int kStep = static_cast<int>(sizeof(V) / 4);  // pixels a step

VELMORA_INLINE V Div255Lanes(V x) { return MulHi16(Add16(x, Set16(128)), Set16(257)); }

// Each pixel's alpha in all four of its lanes.
VELMORA_INLINE V AlphaLanes(V lanes) { return ShuffleHi16<0xFF>(ShuffleLo16<0xFF>(lanes)); }

// Div255(s * a) per byte, a in every lane.
VELMORA_INLINE V ScaleStep(V s, V a) {
  return Pack16(Div255Lanes(Mul16(Low8(s), a)), Div255Lanes(Mul16(High8(s), a)));
}

// s + Div255(d * (255 - s.a)), added as words as OverPremultiplied does. A step of zero pixels
// gives d and a step of opaque ones s, without the arithmetic.
VELMORA_INLINE V OverStep(V s, V d) {
  if (AllZero(s)) return d;
  if (AllZero(AndNot(s, Set32(0xFF000000u)))) return s;
  const V inverseLow = Sub16(Set16(255), AlphaLanes(Low8(s))), inverseHigh = Sub16(Set16(255), AlphaLanes(High8(s)));
  return Add32(s, Pack16(Div255Lanes(Mul16(Low8(d), inverseLow)), Div255Lanes(Mul16(High8(d), inverseHigh))));
}

int OverSteps(Pixel* dst, const Pixel* src, int n) {
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, OverStep(Load(src + i), Load(dst + i)));
  return i;
}

int OverFadedSteps(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  const V a = Set16(static_cast<std::uint16_t>(alpha));
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, OverStep(ScaleStep(Load(src + i), a), Load(dst + i)));
  return i;
}

int FadeSteps(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  const FadeWeights weights = Weights(alpha);
  int i = 0;
  for (; i + kStep <= n; i += kStep)
    Store(dst + i, FadeStep(Or(Load(src + i), Set32(0xFF000000u)), Load(dst + i), weights));
  return i;
}

int ScaleSteps(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits) {
  const V a = Set16(static_cast<std::uint16_t>(alpha)), set = Set32(setBits);
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, ScaleStep(Or(Load(src + i), set), a));
  return i;
}

// Plain loops the compiler vectorises by itself, at the width of the build they sit in.
void CopyKeyed(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask, Pixel setBits) {
  for (int i = 0; i < n; ++i) {
    const Pixel s = src[i];
    dst[i] = (s & keyMask) == key ? dst[i] : s | setBits;
  }
}

void CopyOpaque(Pixel* dst, const Pixel* src, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i] | 0xFF000000u;
}
