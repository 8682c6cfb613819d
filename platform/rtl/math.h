#pragma once
// Numeric helpers with the runtime's rounding: Round is half to even, Trunc toward zero.

#include <cmath>
#include <cstdint>

namespace plat {

// Nearest integer, ties to the even neighbour (0.5 → 0, 1.5 → 2, 2.5 → 2, -2.5 → -2), under the default
// floating-point rounding mode.
inline int64_t Round(double X) { return static_cast<int64_t>(std::llrint(X)); }

// Integer part, toward zero.
inline int64_t Trunc(double X) { return static_cast<int64_t>(std::trunc(X)); }

// Number * Numerator / Denominator with a 64-bit intermediate, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit in 32 bits.
inline int MulDiv(int Number, int Numerator, int Denominator) {
  if (Denominator == 0) return -1;
  int64_t p = static_cast<int64_t>(Number) * Numerator;
  int64_t d = Denominator;
  if (d < 0) {
    p = -p;
    d = -d;
  }
  const int64_t q = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int>(q);
}

template <typename T>
constexpr T Min(T A, T B) {
  return B < A ? B : A;
}
template <typename T>
constexpr T Max(T A, T B) {
  return A < B ? B : A;
}

}  // namespace plat
