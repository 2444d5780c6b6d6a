#include "decimal_separator.h"

#include "text.h"

namespace kvorn {

char32_t UsableSeparator(std::string_view localeText)
{
    std::size_t length;
    const char32_t c = DecodeUtf8(localeText, length);
    const bool single = length != 0 && length == localeText.size() && c != 0xFFFD;
    const bool clashes = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == 'e' || c == 'E' || c < 0x20;
    return single && !clashes ? c : U'.';
}

}  // namespace kvorn
