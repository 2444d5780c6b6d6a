#pragma once
// The pictures at a display's scale: each is drawn at 100, 150 and 200 %
// (picture_scale.h); the window takes the one drawn for its scale or the
// nearest above it, scaled down to the exact size where they differ.

#include <windows.h>

namespace kvorn {

// The resource of picture `id` (its 100 % one) drawn for `dpi`.
int PictureResourceFor(int id, int dpi);

// `picture` itself when it is `width` x `height`, else a smoothly scaled
// 32-bit copy, and `picture` deleted; null stays null.
HBITMAP ToSize(HBITMAP picture, int width, int height);

// A button's picture for `dpi`: 81 x 22 at 96 dpi.
HBITMAP LoadButtonPicture(HINSTANCE instance, int id, int dpi);

}  // namespace kvorn
