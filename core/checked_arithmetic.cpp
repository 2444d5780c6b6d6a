#include "checked_arithmetic.h"

#include <array>
#include <cmath>
#include <string>

namespace kvorn {

void FailDivisionByZero() { throw RatingError(ErrorKind::DivisionByZero, std::string(DivisionByZeroMessage)); }
void FailInvalidOperation() { throw RatingError(ErrorKind::InvalidOperation, std::string(InvalidOperationMessage)); }
void FailOverflow() { throw RatingError(ErrorKind::Overflow, std::string(OverflowMessage)); }

namespace {
// A non-finite result is an overflow unless an operand was already broken.
Extended Checked(Extended result, Extended a, Extended b)
{
    if (std::isfinite(result))
        return result;
    if (!std::isfinite(a) || !std::isfinite(b) || std::isnan(result))
        FailInvalidOperation();
    FailOverflow();
}
}  // namespace

Extended CheckedAdd(Extended a, Extended b) { return Checked(a + b, a, b); }
Extended CheckedSub(Extended a, Extended b) { return Checked(a - b, a, b); }
Extended CheckedMul(Extended a, Extended b) { return Checked(a * b, a, b); }
Extended CheckedDiv(Extended a, Extended b)
{
    if (b == 0) {
        if (a == 0 || std::isnan(a))
            FailInvalidOperation();
        FailDivisionByZero();
    }
    return Checked(a / b, a, b);
}

Extended PowerOfTen(long k)
{
    static const auto exact = [] {
        std::array<Extended, 28> table{};
        Extended p = 1;
        for (Extended& entry : table) {
            entry = p;
            p *= 10;
        }
        return table;
    }();
    if (k >= 0 && k < static_cast<long>(exact.size()))
        return exact[static_cast<std::size_t>(k)];
    return std::pow(Extended(10), static_cast<Extended>(k));
}

}  // namespace kvorn
