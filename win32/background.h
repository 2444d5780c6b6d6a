#pragma once
// The background picture, decoded from the program's resources into a
// bitmap the window draws.

#include <windows.h>

#include <string>

namespace kvorn {

struct Background {
    HBITMAP Bitmap = nullptr;  // null when it could not be decoded
    int Width = 0, Height = 0;
    std::string Error;  // why not
};

// Decodes in full colour, or reduced to the quantiser's colours when the
// screen shows 8 bits per pixel or fewer; the picture drawn for `dpi`, at
// 196 x 317 96-dpi pixels.
Background LoadBackground(HINSTANCE instance, int dpi = 96);

}  // namespace kvorn
