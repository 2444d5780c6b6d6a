#pragma once
// How a field's text becomes a number: optional spaces and sign, digits
// with at most one decimal separator, an optional decimal exponent, and
// nothing else.

#include <string>
#include <string_view>

#include "checked_arithmetic.h"

namespace kvorn {

// "'<text>' is not a valid floating point value", the text as it was.
std::string ConversionMessage(std::string_view text);

// Converts a whole text with the given decimal separator, or throws a
// RatingError of kind Conversion.
Extended ConvertNumber(std::string_view text, char32_t separator);

}  // namespace kvorn
