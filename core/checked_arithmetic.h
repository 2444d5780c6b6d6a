#pragma once
// Extended-precision arithmetic in which a division by zero, an invalid
// operation or an overflow raises a RatingError instead of yielding an
// infinity or a NaN.

#include <limits>
#include <string_view>

#include "rating_error.h"

namespace kvorn {

// The score is defined in x87 extended precision: a 64-bit significand and
// a 15-bit exponent. Refuse any other long double (MSVC's is a double,
// AArch64's an IEEE quad) rather than compute a different score.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64 && std::numeric_limits<Extended>::max_exponent == 16384 &&
                  std::numeric_limits<Extended>::min_exponent == -16381,
              "the score needs the x87 80-bit extended long double (x86-64 with GCC or Clang, MinGW included)");

inline constexpr std::string_view DivisionByZeroMessage = "Floating point division by zero";
inline constexpr std::string_view InvalidOperationMessage = "Invalid floating point operation";
inline constexpr std::string_view OverflowMessage = "Floating point overflow";

[[noreturn]] void FailDivisionByZero();
[[noreturn]] void FailInvalidOperation();
[[noreturn]] void FailOverflow();

Extended CheckedAdd(Extended a, Extended b);
Extended CheckedSub(Extended a, Extended b);
Extended CheckedMul(Extended a, Extended b);
Extended CheckedDiv(Extended a, Extended b);

// 10^k, exact for 0 <= k <= 27 (the powers a 64-bit significand holds).
Extended PowerOfTen(long k);

}  // namespace kvorn
