#include "number_conversion.h"

#include <cmath>
#include <optional>

#include "text.h"

namespace kvorn {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

std::optional<Extended> Parse(std::string_view text, char32_t separator)
{
    const std::string sep = EncodeUtf8(separator);
    const std::size_t n = text.size();
    std::size_t i = 0;

    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    Extended accumulator = 0;
    bool tookSomething = false;
    long long fractionDigits = 0;
    while (i < n && IsDigit(text[i])) {
        accumulator = accumulator * 10 + (text[i++] - '0');
        tookSomething = true;
    }
    if (text.substr(i, sep.size()) == sep) {
        i += sep.size();
        tookSomething = true;
        while (i < n && IsDigit(text[i])) {
            accumulator = accumulator * 10 + (text[i++] - '0');
            ++fractionDigits;
        }
    }
    if (!tookSomething)
        return std::nullopt;

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            exponentNegative = text[i++] == '-';
        // A digit after a value of 500 or more is left unread, so it fails below.
        while (i < n && IsDigit(text[i]) && exponent < 500)
            exponent = exponent * 10 + (text[i++] - '0');
        if (exponentNegative)
            exponent = -exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n || !std::isfinite(accumulator))
        return std::nullopt;
    Extended value = ScaleByTen(accumulator, exponent - fractionDigits);
    if (negative)
        value = -value;
    if (!std::isfinite(value))
        return std::nullopt;
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

Extended ConvertNumber(std::string_view text, char32_t separator)
{
    const std::optional<Extended> value = Parse(text, separator);
    if (!value)
        throw RatingError(ErrorKind::Conversion, ConversionMessage(text));
    return *value;
}

}  // namespace kvorn
