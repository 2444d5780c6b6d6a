#include "regional_settings.h"

#include <windows.h>

#include <string>

#include "decimal_separator.h"

namespace kvorn {

char32_t RegionalSeparator()
{
    // Asked afresh each time, so that a changed setting takes effect.
    wchar_t buffer[8] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8);
    if (length <= 1)
        return U'.';
    char utf8[32] = {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer, length - 1, utf8, sizeof utf8, nullptr, nullptr);
    return UsableSeparator(std::string_view(utf8, bytes > 0 ? std::size_t(bytes) : 0));
}

}  // namespace kvorn
