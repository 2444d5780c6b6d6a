#pragma once
// The user's decimal separator, read from the regional settings each time it
// is asked for, so that a changed setting takes effect at the next notice.

namespace kvorn {

// The separator of the user's regional settings, or the point when it cannot
// be read.
char32_t RegionalSeparator();

}  // namespace kvorn
