#pragma once
// The user's decimal separator, read from the regional settings each time it
// is asked for, so that a changed setting takes effect at the next notice.
// Declared once for every program; each platform reads its own settings
// (ui/regional_settings.cpp, win32/regional_settings.cpp).

namespace kvorn {

// The separator of the user's regional settings, or the point when it cannot
// be read.
char32_t RegionalSeparator();

}  // namespace kvorn
