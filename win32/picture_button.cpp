#include "picture_button.h"

namespace kvorn {

void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture)
{
    const RECT face = item.rcItem;
    const int width = face.right - face.left, height = face.bottom - face.top;
    const bool pressed = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &face, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP size = {};
    if (picture && GetObjectW(picture, sizeof size, &size)) {
        HDC source = CreateCompatibleDC(item.hDC);
        HGDIOBJ old = SelectObject(source, picture);
        int x = face.left + (width - size.bmWidth) / 2, y = face.top + (height - size.bmHeight) / 2;
        if (pressed) {  // pressed in, as a raised button would be
            ++x;
            ++y;
        }
        BitBlt(item.hDC, x, y, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    if (pressed)
        FrameRect(item.hDC, &face, GetSysColorBrush(COLOR_3DDKSHADOW));
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

}  // namespace kvorn
