#pragma once
// The result label, drawn by the window: the exact score, whole and
// centred, in a smaller face or in the exponent form where the described
// face cannot hold it. Nothing is drawn outside the label.

#include <windows.h>

#include <functional>
#include <string>

namespace kvorn {

// `faceOf` gives the label's face at a character height.
void DrawResult(HDC dc, const RECT& bounds, const std::wstring& text, COLORREF colour, int describedHeight,
                const std::function<HFONT(int pixelHeight)>& faceOf);

}  // namespace kvorn
