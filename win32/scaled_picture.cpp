#include "scaled_picture.h"

#include "display_scale.h"
#include "picture_scale.h"
#include "resource_ids.h"

namespace kvorn {

int PictureResourceFor(int id, int dpi)
{
    const int percent = PictureFor(dpi / 96.0).Percent;
    return id + (percent == 200 ? PICTURE_AT_200 : percent == 150 ? PICTURE_AT_150 : 0);
}

HBITMAP ToSize(HBITMAP picture, int width, int height)
{
    BITMAP size = {};
    if (!picture || !GetObjectW(picture, sizeof size, &size) || (size.bmWidth == width && size.bmHeight == height))
        return picture;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP scaled = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scaled)
        return picture;  // drawn at its own size, cut where larger
    HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, picture), oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(picture);
    return scaled;
}

HBITMAP LoadButtonPicture(HINSTANCE instance, int id, int dpi)
{
    HBITMAP picture = HBITMAP(
        LoadImageW(instance, MAKEINTRESOURCEW(PictureResourceFor(id, dpi)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return ToSize(picture, Scaled(ButtonPictureSize.Width, dpi), Scaled(ButtonPictureSize.Height, dpi));
}

}  // namespace kvorn
