#pragma once
// What the error box shows for a failure's message, on every platform.

#include <string>
#include <string_view>

namespace kvorn {

// Long enough for any message of a normal text; beyond it the box shows the
// start and the end, so that it keeps a normal size.
inline constexpr std::size_t LongestShownMessage = 120;

// The message with the final-point rule applied, shortened in the middle
// (never inside a character) when it has more than LongestShownMessage
// characters.
std::string ErrorBoxText(std::string_view message);

}  // namespace kvorn
