#pragma once
// A push button whose whole face is a picture: the picture is centred, so a
// picture larger than the button loses its outermost pixels.

#include <windows.h>

namespace kvorn {

void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture);

}  // namespace kvorn
