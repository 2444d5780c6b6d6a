#pragma once
// How wide the modal message's text is laid out: on one line where that fits
// in half the screen, wrapped beyond, and never so narrow that the caption,
// with room for the title bar's buttons, is cut.

#include <algorithm>

namespace kvorn {

inline int MessageTextWidest(int screenWidth) { return screenWidth / 2; }

inline int MessageTextWidth(int oneLine, int caption, int screenWidth)
{
    return std::min(MessageTextWidest(screenWidth), std::max(oneLine, caption + 96));
}

}  // namespace kvorn
