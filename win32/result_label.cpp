#include "result_label.h"

#include "result_fit.h"
#include "wide_text.h"

namespace kvorn {

void DrawResult(HDC dc, const RECT& bounds, const std::wstring& text, COLORREF colour, int describedHeight,
                const std::function<HFONT(int pixelHeight)>& faceOf)
{
    if (text.empty())
        return;
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const FittedResult fitted =
        FitResult(Narrow(text), bounds.right - bounds.left, describedHeight, [&](std::string_view candidate, int height) {
            SelectObject(dc, faceOf(height));
            const std::wstring wide = Widen(candidate);
            SIZE size = {};
            GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
            return int(size.cx);
        });
    SelectObject(dc, faceOf(fitted.PixelHeight));
    SetTextColor(dc, colour);
    const std::wstring shown = Widen(fitted.Text);
    RECT box = bounds;
    DrawTextW(dc, shown.c_str(), int(shown.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

}  // namespace kvorn
