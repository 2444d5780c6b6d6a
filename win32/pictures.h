#pragma once
// The window's pictures at its display's scale, from the program's resources.

#include <windows.h>

#include "background.h"

namespace kvorn {

// Held by the window, which releases them when it goes.
struct FormPictures {
    // The pictures drawn for `dpi`, in place of those held.
    void Load(HINSTANCE instance, int dpi);
    void Release();
    // The background at its natural size (drawn for this scale) from the
    // top-left corner of `bounds`, never stretched here.
    void DrawBackground(HDC canvas, const RECT& bounds) const;

    Background background;
    HBITMAP clear = nullptr, exit = nullptr;
};

}  // namespace kvorn
