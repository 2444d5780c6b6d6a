#include "pictures.h"

#include <algorithm>

#include "resource_ids.h"
#include "scaled_picture.h"

namespace kvorn {

void FormPictures::Load(HINSTANCE instance, int dpi)
{
    Release();
    background = LoadBackground(instance, dpi);
    clear = LoadButtonPicture(instance, IDB_CLEAR, dpi);
    exit = LoadButtonPicture(instance, IDB_EXIT, dpi);
}

void FormPictures::Release()
{
    for (HBITMAP* bitmap : {&background.Bitmap, &clear, &exit}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

void FormPictures::DrawBackground(HDC canvas, const RECT& bounds) const
{
    if (!background.Bitmap)
        return;
    HDC picture = CreateCompatibleDC(canvas);
    HGDIOBJ old = SelectObject(picture, background.Bitmap);
    BitBlt(canvas, bounds.left, bounds.top, std::min(int(bounds.right - bounds.left), background.Width),
           std::min(int(bounds.bottom - bounds.top), background.Height), picture, 0, 0, SRCCOPY);
    SelectObject(picture, old);
    DeleteDC(picture);
}

}  // namespace kvorn
