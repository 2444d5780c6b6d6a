#include "checked_arithmetic.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>
#include <string>

namespace kvorn {

void FailDivisionByZero() { throw RatingError(ErrorKind::DivisionByZero, std::string(DivisionByZeroMessage)); }
void FailInvalidOperation() { throw RatingError(ErrorKind::InvalidOperation, std::string(InvalidOperationMessage)); }
void FailOverflow() { throw RatingError(ErrorKind::Overflow, std::string(OverflowMessage)); }

namespace {
// A non-finite result is an overflow unless an operand was already broken:
// finite operands of +, -, * and a non-zero divisor give no NaN.
Extended Checked(Extended result, Extended a, Extended b)
{
    if (std::isfinite(result))
        return result;
    if (!std::isfinite(a) || !std::isfinite(b))
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
    if (k < 0 || k > 4932)
        return k < 0 ? 0 : std::numeric_limits<Extended>::infinity();
    // Beyond, 10^k = 5^k * 2^k, rounded once from the exact 5^k: each C
    // runtime's powl rounds its own way (MinGW's by a unit), and the score
    // must be the same on every platform.
    std::vector<std::uint32_t> limbs{1};  // 5^k, least significant first
    for (long left = k; left > 0;) {
        const long step = left < 13 ? left : 13;
        std::uint64_t factor = 1;
        for (long i = 0; i < step; ++i)
            factor *= 5;
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t product = limb * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry)
            limbs.push_back(static_cast<std::uint32_t>(carry));
        left -= step;
    }
    const auto bit = [&](long i) { return (limbs[static_cast<std::size_t>(i / 32)] >> (i % 32)) & 1u; };
    long top = static_cast<long>(limbs.size()) * 32 - 1;
    while (!bit(top))
        --top;
    const long low = top - 63;  // the lowest bit kept; 5^28 already has more than 64 bits
    std::uint64_t significand = 0;
    for (long i = top; i >= low; --i)
        significand = significand << 1 | bit(i);
    bool sticky = false;
    for (long i = low - 2; i >= 0 && !sticky; --i)
        sticky = bit(i);
    long exponent = low + k;
    if (bit(low - 1) && (sticky || (significand & 1))) {
        if (++significand == 0) {
            significand = std::uint64_t(1) << 63;
            ++exponent;
        }
    }
    return std::ldexp(static_cast<Extended>(significand), static_cast<int>(exponent));
}

}  // namespace kvorn
