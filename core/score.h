#pragma once
// Number conversion, the score formula and the score's text.
//
// Data flow of one recomputation: the eight input texts are checked for
// completeness, the ship selector for the placeholder; then each text is
// converted (caliber first, then hull, hold, speed, manoeuvrability,
// close-hauled, the two crew figures) and folded into one running sum in
// x87 extended precision. Every operation is checked, so a division by zero,
// an invalid operation or an overflow becomes a RatingError instead of an
// infinity or NaN. Only the final quotient is rounded to a double, and that
// double is what FormatScore writes.

#include <array>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ship_types.h"

namespace kvorn {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits >= 64,
              "the score needs a 64-bit-significand long double (x87 extended precision)");

inline constexpr std::string_view NotSelectedMessage = "Не вбран тип корабля";
inline constexpr std::string_view DivisionByZeroMessage = "Floating point division by zero";
inline constexpr std::string_view InvalidOperationMessage = "Invalid floating point operation";
inline constexpr std::string_view OverflowMessage = "Floating point overflow";

enum class ErrorKind { Conversion, DivisionByZero, InvalidOperation, Overflow };

class RatingError : public std::runtime_error {
public:
    RatingError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind), message_(message)
    {
    }
    ErrorKind kind() const noexcept { return kind_; }
    // The whole message; what() stops at a NUL that a pasted text may hold.
    const std::string& message() const noexcept { return message_; }

private:
    ErrorKind kind_;
    std::string message_;
};

// "'<text>' is not a valid floating point value", the text as it was.
std::string ConversionMessage(std::string_view text);

// Converts a whole text with the given decimal separator, or throws a
// RatingError of kind Conversion.
Extended ConvertNumber(std::string_view text, char32_t separator);

// Two decimals and a point; below 2^120 in full, above in "%.2E" form.
std::string FormatScore(double score);

enum class ScoreOutcome { NothingToDo, NotSelected, Score };

struct ScoreResult {
    ScoreOutcome Outcome = ScoreOutcome::NothingToDo;
    std::string Text;  // the score, or the not-selected message
};

// The inputs in control order: Edit1 (hull), Edit2 (hold), Edit3 (speed),
// Edit4 (manoeuvrability), Edit5 (close-hauled), Edit6, Edit7 (crew),
// ComboBox2 (caliber).
using ScoreInputs = std::array<std::string_view, 8>;

// Throws RatingError on a conversion or arithmetic failure.
ScoreResult ComputeScore(const ScoreInputs& inputs, std::string_view shipText,
                         const ShipCoefficients& coefficients, char32_t separator);

// How a failure message is displayed: a final point is added when the last
// character's code is above that of the point itself.
std::string WithFinalPoint(std::string message);

// The separator a locale reports (as UTF-8), or the point when that text is
// not one usable character: empty, longer, or a character the number syntax
// already uses (digit, space, sign, exponent mark).
char32_t UsableSeparator(std::string_view localeText);

}  // namespace kvorn
