#pragma once
// Which character a locale's decimal separator may be for the conversion.

#include <string_view>

namespace kvorn {

// The separator a locale reports (as UTF-8), or the point when that text is
// not one usable character: empty, longer, or a character the number syntax
// already uses (digit, space, sign, exponent mark, a control character).
char32_t UsableSeparator(std::string_view localeText);

}  // namespace kvorn
