#pragma once
// The user's decimal separator, read from the regional settings each time it
// is asked for, so that a changed setting takes effect at the next notice.
// Windows reads the user's settings (regional_settings_windows.cpp); elsewhere
// the locale the environment names (regional_settings_posix.cpp) is looked up
// in ICU's data for the scorer, in Qt's for the Qt window.

#include <string_view>

namespace kvorn {

// The separator of the user's regional settings, or the point when it cannot
// be read.
char32_t RegionalSeparator();

#ifndef _WIN32
// The decimal separator of a locale named as in LANG ("ru_RU.UTF-8",
// "de_DE@euro"), from the locale data itself, so that a locale need not be
// installed; the point for a name no locale answers to.
char32_t LocaleSeparator(std::string_view localeName);
#endif

}  // namespace kvorn
