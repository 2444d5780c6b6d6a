#include "background.h"

#include <array>
#include <vector>

#include "display_scale.h"
#include "jpeg_decoder.h"
#include "picture_scale.h"
#include "resource_ids.h"
#include "scaled_picture.h"

namespace kvorn {

namespace {

int ScreenDepth()
{
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

// A top-down DIB section for libjpeg to decode into: blue, green, red and a
// spare byte per pixel, or one palette index padded to four bytes a row.
JpegRows MakeBitmap(unsigned width, unsigned height, bool quantised, HBITMAP& bitmap)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = LONG(width);
    info.bmiHeader.biHeight = -LONG(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = quantised ? 8 : 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biClrUsed = quantised ? 256 : 0;  // filled in once decoded
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return {};
    const std::size_t stride = quantised ? (std::size_t(width) + 3) & ~std::size_t(3) : 4 * std::size_t(width);
    return {static_cast<unsigned char*>(bits), stride};
}

void SetPalette(HBITMAP bitmap, const std::vector<std::array<unsigned char, 3>>& palette)
{
    RGBQUAD table[256] = {};
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i)
        table[i] = {palette[i][2], palette[i][1], palette[i][0], 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetDIBColorTable(dc, 0, UINT(palette.size()), table);
    SelectObject(dc, old);
    DeleteDC(dc);
}

}  // namespace

Background LoadBackground(HINSTANCE instance, int dpi)
{
    Background result;
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(PictureResourceFor(IDR_BACKGROUND, dpi)),
                                   MAKEINTRESOURCEW(10 /* RT_RCDATA */));
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        result.Error = "the picture is missing from the program";
        return result;
    }
    const bool quantised = ScreenDepth() <= 8;
    std::vector<std::array<unsigned char, 3>> palette;
    HBITMAP bitmap = nullptr;
    result.Error = DecodeJpegInto(
        static_cast<const unsigned char*>(data), SizeofResource(instance, resource),
        quantised ? JpegColours::Quantised : JpegColours::FullBgrx,
        [&](unsigned width, unsigned height) {
            result.Width = int(width);
            result.Height = int(height);
            return MakeBitmap(width, height, quantised, bitmap);
        },
        &palette);
    if (!result.Error.empty()) {
        if (bitmap)
            DeleteObject(bitmap);
        result.Width = result.Height = 0;
        return result;
    }
    if (quantised)
        SetPalette(bitmap, palette);
    GdiFlush();
    // Drawn for a larger scale than the display's: scaled down to it.
    result.Bitmap = ToSize(bitmap, Scaled(BackgroundPictureSize.Width, dpi), Scaled(BackgroundPictureSize.Height, dpi));
    BITMAP size = {};
    GetObjectW(result.Bitmap, sizeof size, &size);
    result.Width = size.bmWidth;
    result.Height = size.bmHeight;
    return result;
}

}  // namespace kvorn
