#include "regional_settings.h"

#include <cstdlib>

namespace kvorn {

char32_t RegionalSeparator()
{
    // The variables, in their order of precedence, that the C library and
    // Qt derive the numbers' locale from; read afresh each time.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* name = std::getenv(variable);
        if (name && *name)
            return LocaleSeparator(name);
    }
    return U'.';
}

}  // namespace kvorn
