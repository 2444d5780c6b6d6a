#include "regional_settings.h"

#include <unicode/uloc.h>
#include <unicode/unum.h>
#include <unicode/ustring.h>

#include <string>

#include "decimal_separator.h"

namespace kvorn {

char32_t LocaleSeparator(std::string_view localeName)
{
    // ICU reads "language_Territory"; the codeset and the modifier of a
    // POSIX name say nothing of its numbers.
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    for (char& c : name)
        if (c == '-')
            c = '_';
    if (name.empty())
        name = "root";  // not ICU's default locale, which comes from the environment
    UErrorCode status = U_ZERO_ERROR;
    UNumberFormat* format = unum_open(UNUM_DECIMAL, nullptr, 0, name.c_str(), nullptr, &status);
    UChar symbol[8] = {};
    const int32_t length =
        U_SUCCESS(status) ? unum_getSymbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol, 8, &status) : 0;
    // A language ICU has no data for is given the default locale's, which
    // comes from the environment; such a name has the point.
    const char* found = U_SUCCESS(status) ? unum_getLocaleByType(format, ULOC_VALID_LOCALE, &status) : "";
    char language[16] = {}, foundLanguage[16] = {};
    uloc_getLanguage(name.c_str(), language, sizeof language, &status);
    uloc_getLanguage(found, foundLanguage, sizeof foundLanguage, &status);
    const bool known = std::string_view(found) == "root" || std::string_view(language) == foundLanguage;
    unum_close(format);
    if (U_FAILURE(status) || !known || length <= 0)
        return U'.';
    char utf8[32] = {};
    int32_t bytes = 0;
    u_strToUTF8(utf8, sizeof utf8, &bytes, symbol, length, &status);
    return UsableSeparator(U_SUCCESS(status) ? std::string_view(utf8, std::size_t(bytes)) : std::string_view());
}

}  // namespace kvorn
