#pragma once
// The display's scale. The described pixels are 96-dpi pixels; the program is
// per-monitor DPI aware, so each window is laid out at the DPI of the display
// it is on, and again when it moves to another.

#include <windows.h>

#include "form_description.h"

namespace kvorn {

// The window's DPI: the display's where Windows tells it per window (10 and
// later), else the system's. Null asks for the system's.
int DpiOf(HWND window);

inline int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }
RECT Scaled(const Geometry& bounds, int dpi);

// Whether the child stands at `bounds` in its parent's client area already:
// under Wine a move to where it is still costs the start-up.
bool StandsAt(HWND child, const RECT& bounds);

// Moved to a display of another scale: the size Windows suggests, at the
// place the user left it.
void TakeSuggestedBounds(HWND window, const RECT& suggested);

}  // namespace kvorn
