#include "keystroke_filters.h"

#include "text.h"

namespace kvorn {

namespace {
bool IsDigit(char32_t key) { return key >= U'0' && key <= U'9'; }
}  // namespace

void DigitFilter(char32_t& key)
{
    if (key != Backspace && !IsDigit(key))
        key = 0;
}

void DecimalFilter(char32_t& key, std::string_view fieldText, char32_t separator)
{
    if (key == Backspace)
        return;
    // The filter always writes the separator the conversion will accept, so
    // what the user types is never turned into something it then refuses.
    if (key == U'.' || key == U',')
        key = separator;
    if (key == separator) {
        if (fieldText.find(EncodeUtf8(separator)) != std::string_view::npos)
            key = 0;
    } else if (!IsDigit(key)) {
        key = 0;
    }
}

void BlockAllFilter(char32_t& key) { key = 0; }

}  // namespace kvorn
