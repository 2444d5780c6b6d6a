#include "score.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <cstdio>

#include "text.h"

namespace kvorn {

namespace {

[[noreturn]] void Fail(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::DivisionByZero:
        throw RatingError(kind, std::string(DivisionByZeroMessage));
    case ErrorKind::InvalidOperation:
        throw RatingError(kind, std::string(InvalidOperationMessage));
    default:
        throw RatingError(ErrorKind::Overflow, std::string(OverflowMessage));
    }
}

// A non-finite result is an overflow unless an operand was already broken.
Extended Checked(Extended result, Extended a, Extended b)
{
    if (std::isfinite(result))
        return result;
    if (!std::isfinite(a) || !std::isfinite(b) || std::isnan(result))
        Fail(ErrorKind::InvalidOperation);
    Fail(ErrorKind::Overflow);
}

Extended Add(Extended a, Extended b) { return Checked(a + b, a, b); }
Extended Sub(Extended a, Extended b) { return Checked(a - b, a, b); }
Extended Mul(Extended a, Extended b) { return Checked(a * b, a, b); }
Extended Div(Extended a, Extended b)
{
    if (b == 0)
        Fail(a == 0 || std::isnan(a) ? ErrorKind::InvalidOperation : ErrorKind::DivisionByZero);
    return Checked(a / b, a, b);
}

// Powers up to 10^27 are exact in a 64-bit significand.
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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ilogb for a normal x87 extended value, read straight from its sign-and-
// exponent word rather than through a libm call on every keystroke.
long BinaryExponent(Extended x)
{
    static_assert(sizeof(Extended) >= 10);
    unsigned char bytes[sizeof(Extended)];
    std::memcpy(bytes, &x, sizeof x);
    return static_cast<long>(((bytes[9] & 0x7Fu) << 8) | bytes[8]) - 16383;
}

// The separator's UTF-8 bytes, encoded without touching the heap.
struct SeparatorBytes {
    explicit SeparatorBytes(char32_t c)
    {
        if (c < 0x80) {
            bytes[size++] = static_cast<char>(c);
            return;
        }
        const std::string encoded = EncodeUtf8(c);
        for (char byte : encoded)
            bytes[size++] = byte;
    }
    bool At(std::string_view text, std::size_t i) const
    {
        if (text.size() - i < size)
            return false;
        for (std::size_t k = 0; k < size; ++k)
            if (text[i + k] != bytes[k])
                return false;
        return true;
    }
    char bytes[4] = {};
    std::size_t size = 0;
};
// Scales by 10^exponent in steps that stay finite, so that a huge exponent
// on a tiny mantissa (or the reverse) is not mistaken for an overflow.
Extended ScaleByTen(Extended value, long long exponent)
{
    constexpr long step = 4000;
    while (exponent > 0 && value != 0 && std::isfinite(value)) {
        const long k = exponent > step ? step : static_cast<long>(exponent);
        value *= PowerOfTen(k);
        exponent -= k;
    }
    while (exponent < 0 && value != 0 && std::isfinite(value)) {
        const long k = -exponent > step ? step : static_cast<long>(-exponent);
        value /= PowerOfTen(k);
        exponent += k;
    }
    return value;
}

}  // namespace

std::string ConversionMessage(std::string_view text)
{
    std::string message = "'";
    message += text;
    message += "' is not a valid floating point value";
    return message;
}

namespace {

bool TryConvertNumber(std::string_view text, char32_t separator, Extended& result)
{
    const SeparatorBytes sep(separator);
    const std::size_t n = text.size();
    std::size_t i = 0;

    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // While below 10^18 the accumulator is an exact integer in a 64-bit
    // significand, so an integer register gives the same bits, faster.
    constexpr std::uint64_t exactLimit = 1'000'000'000'000'000'000ULL;
    std::uint64_t whole = 0;
    Extended accumulator = 0;
    bool wide = false;
    const auto take = [&](char digit) {
        if (!wide && whole < exactLimit) {
            whole = whole * 10 + static_cast<unsigned>(digit - '0');
            return;
        }
        if (!wide) {
            accumulator = static_cast<Extended>(whole);
            wide = true;
        }
        accumulator = accumulator * 10 + (digit - '0');
    };
    bool tookSomething = false;
    long long fractionDigits = 0;
    while (i < n && IsDigit(text[i])) {
        take(text[i++]);
        tookSomething = true;
    }
    if (sep.At(text, i)) {
        i += sep.size;
        tookSomething = true;
        while (i < n && IsDigit(text[i])) {
            take(text[i++]);
            ++fractionDigits;
        }
    }
    if (!tookSomething)
        return false;
    if (!wide)
        accumulator = static_cast<Extended>(whole);

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            exponentNegative = text[i++] == '-';
        while (i < n && IsDigit(text[i]) && exponent < 500)
            exponent = exponent * 10 + (text[i++] - '0');
        if (exponentNegative)
            exponent = -exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n || !std::isfinite(accumulator))
        return false;
    Extended value = ScaleByTen(accumulator, exponent - fractionDigits);
    if (negative)
        value = -value;
    result = value;
    return std::isfinite(value);
}

}  // namespace

Extended ConvertNumber(std::string_view text, char32_t separator)
{
    Extended value;
    if (!TryConvertNumber(text, separator, value))
        throw RatingError(ErrorKind::Conversion, ConversionMessage(text));
    return value;
}

std::string FormatScore(double score)
{
    std::string out = std::signbit(score) ? "-" : "";
    if (std::isnan(score))
        return out + "NAN";
    if (std::isinf(score))
        return out + "INF";

    Extended m = std::fabs(static_cast<Extended>(score));
    if (m >= 0x1p120L) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2E", static_cast<double>(m));
        return out + buffer;
    }

    // First stage: 17 decimal places of a value scaled below 16.
    long shift = 0;
    if (m >= 10) {
        for (;;) {
            const long e = BinaryExponent(m);
            const long k = (e * 19728) >> 16;
            if (k == 0)
                break;
            m /= PowerOfTen(k);
            shift += k;
        }
    }
    const auto scaled = static_cast<std::uint64_t>(std::rint(m * PowerOfTen(17)));

    const long fractionDigits = 17 - shift;
    if (fractionDigits >= 3) {
        // Second stage in integers: keep two decimals, the third decides.
        std::uint64_t divisor = 1;
        for (long k = 3; k < fractionDigits; ++k)
            divisor *= 10;
        const std::uint64_t threeDecimals = scaled / divisor;
        const std::uint64_t cents = threeDecimals / 10 + (threeDecimals % 10 >= 5 ? 1 : 0);
        char buffer[32];
        char* end = std::to_chars(buffer, buffer + sizeof buffer - 3, cents / 100).ptr;
        *end++ = '.';
        *end++ = static_cast<char>('0' + cents % 100 / 10);
        *end++ = static_cast<char>('0' + cents % 10);
        out.append(buffer, end);
        return out;
    }

    // Values of 10^15 and more: the same on a run of digits, integer part
    // then three decimals. Below 2^120 the integer part has at most 37
    // digits; slot 0 is left free for a carry out of the top digit.
    char expansion[64];
    char digits[24];
    const auto digitCount = static_cast<long>(std::to_chars(digits, digits + sizeof digits, scaled).ptr - digits);
    long length = 1;
    for (long d = 0; d < digitCount; ++d)
        expansion[length++] = digits[d];
    for (long z = fractionDigits; z < 0; ++z)
        expansion[length++] = '0';
    const long integerDigits = length - 1 - std::max(fractionDigits, 0L);
    while (length < integerDigits + 4)
        expansion[length++] = '0';

    // Second stage: half away from zero at the second decimal.
    char* const kept = expansion + 1;
    long keptLength = integerDigits + 2;
    const char* first = kept;
    if (kept[keptLength] >= '5') {
        long i = keptLength - 1;
        for (; i >= 0 && kept[i] == '9'; --i)
            kept[i] = '0';
        if (i >= 0) {
            ++kept[i];
        } else {
            expansion[0] = '1';
            first = expansion;
            ++keptLength;
        }
    }
    long wholeDigits = keptLength - 2;
    while (wholeDigits > 1 && *first == '0')
        ++first, --wholeDigits;
    out.append(first, static_cast<std::size_t>(wholeDigits));
    out += '.';
    out.append(first + wholeDigits, 2);
    return out;
}

namespace {

// Plain arithmetic for the fast path; the checked kind raises the error the
// first failing operation stands for.
struct Unchecked {
    static Extended Add(Extended a, Extended b) { return a + b; }
    static Extended Sub(Extended a, Extended b) { return a - b; }
    static Extended Mul(Extended a, Extended b) { return a * b; }
    static Extended Div(Extended a, Extended b) { return a / b; }
};
struct Checking {
    static Extended Add(Extended a, Extended b) { return kvorn::Add(a, b); }
    static Extended Sub(Extended a, Extended b) { return kvorn::Sub(a, b); }
    static Extended Mul(Extended a, Extended b) { return kvorn::Mul(a, b); }
    static Extended Div(Extended a, Extended b) { return kvorn::Div(a, b); }
};

// `number(i)` yields input i, in the order the terms need them.
template <class A, class Number>
Extended Quotient(Number&& number, const ShipCoefficients& c)
{
    const Extended caliber = number(7);
    Extended factor = 4.6;
    if (caliber == 12)
        factor = c.Caliber12;
    else if (caliber == 16)
        factor = c.Caliber16;
    else if (caliber == 24)
        factor = c.Caliber24;
    else if (caliber == 32)
        factor = c.Caliber32;

    Extended sum = A::Mul(A::Div(number(0), 115.5L), 3.71L);
    sum = A::Add(sum, A::Mul(A::Div(number(1), 76.5L), 0.92L));
    sum = A::Add(sum, A::Mul(A::Div(number(2), 0.1782L), 1.7L));
    sum = A::Add(sum, A::Mul(A::Div(number(3), 0.77L), 1.17L));
    sum = A::Add(sum, A::Mul(A::Div(number(4), 0.11L), 0.31L));
    sum = A::Add(sum, A::Mul(A::Div(A::Sub(number(5), 187), -1.85L), 0.1L));
    sum = A::Add(sum, A::Mul(A::Div(number(6), 9.33L), 1.12L));
    sum = A::Add(sum, A::Mul(A::Div(static_cast<Extended>(c.CannonCount), 1.12L),
                             static_cast<Extended>(c.CannonFactor)));
    sum = A::Add(sum, A::Mul(75, factor));
    return A::Div(A::Div(sum, 9), static_cast<Extended>(c.ShipDivisor));
}

}  // namespace

ScoreResult ComputeScore(const ScoreInputs& inputs, std::string_view shipText,
                         const ShipCoefficients& c, char32_t separator)
{
    for (std::string_view text : inputs)
        if (text.empty())
            return {ScoreOutcome::NothingToDo, {}};
    if (shipText == PlaceholderText)
        return {ScoreOutcome::NotSelected, std::string(NotSelectedMessage)};

    // Fast path: convert everything, compute without per-operation checks.
    // Any failure on the way re-runs the exact order with checks, so the
    // error reported is the first one that order meets.
    std::array<Extended, 8> values;
    bool converted = true;
    for (std::size_t i = 0; i < values.size() && converted; ++i)
        converted = TryConvertNumber(inputs[i], separator, values[i]);
    if (converted) {
        const auto score = static_cast<double>(Quotient<Unchecked>([&](std::size_t i) { return values[i]; }, c));
        if (std::isfinite(score))
            return {ScoreOutcome::Score, FormatScore(score)};
    }

    const Extended quotient =
        Quotient<Checking>([&](std::size_t i) { return ConvertNumber(inputs[i], separator); }, c);
    const auto score = static_cast<double>(quotient);
    if (!std::isfinite(score))
        Fail(ErrorKind::Overflow);
    return {ScoreOutcome::Score, FormatScore(score)};
}

std::string WithFinalPoint(std::string message)
{
    // Any byte of a multi-byte character is above 0x7F, so the last byte decides.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E)
        message += '.';
    return message;
}

char32_t UsableSeparator(std::string_view localeText)
{
    std::size_t length;
    const char32_t c = DecodeUtf8(localeText, length);
    const bool single = length != 0 && length == localeText.size() && c != 0xFFFD;
    const bool clashes = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == 'e' || c == 'E' || c < 0x20;
    return single && !clashes ? c : U'.';
}

}  // namespace kvorn
