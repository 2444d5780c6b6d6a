#include "background.h"

#include <cstring>

#include "jpeg_decoder.h"
#include "resource_ids.h"

namespace kvorn {

namespace {

int ScreenDepth()
{
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

// A top-down DIB section holding the decoded rows, each padded to four bytes.
HBITMAP MakeBitmap(const DecodedJpeg& picture, bool quantised)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = LONG(picture.Width);
    info.header.biHeight = -LONG(picture.Height);
    info.header.biPlanes = 1;
    info.header.biBitCount = quantised ? 8 : 24;
    info.header.biCompression = BI_RGB;
    if (quantised) {
        info.header.biClrUsed = DWORD(picture.Palette.size());
        for (std::size_t i = 0; i < picture.Palette.size() && i < 256; ++i)
            info.colours[i] = {picture.Palette[i][2], picture.Palette[i][1], picture.Palette[i][0], 0};
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const std::size_t pixelBytes = quantised ? 1 : 3;
    const std::size_t rowBytes = picture.Width * pixelBytes;
    const std::size_t stride = (rowBytes + 3) & ~std::size_t(3);
    auto* out = static_cast<unsigned char*>(bits);
    for (std::size_t y = 0; y < picture.Height; ++y) {
        const unsigned char* row = picture.Pixels.data() + y * rowBytes;
        unsigned char* target = out + y * stride;
        if (quantised) {
            std::memcpy(target, row, rowBytes);
        } else {
            for (std::size_t x = 0; x < picture.Width; ++x) {  // DIBs hold blue, green, red
                target[3 * x] = row[3 * x + 2];
                target[3 * x + 1] = row[3 * x + 1];
                target[3 * x + 2] = row[3 * x];
            }
        }
    }
    GdiFlush();
    return bitmap;
}

}  // namespace

Background LoadBackground(HINSTANCE instance)
{
    Background result;
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(IDR_BACKGROUND), MAKEINTRESOURCEW(10 /* RT_RCDATA */));
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        result.Error = "the picture is missing from the program";
        return result;
    }
    const bool quantised = ScreenDepth() <= 8;
    const DecodedJpeg picture = DecodeJpegData(static_cast<const unsigned char*>(data),
                                               SizeofResource(instance, resource),
                                               quantised ? JpegColours::Quantised : JpegColours::Full);
    if (!picture.Error.empty()) {
        result.Error = picture.Error;
        return result;
    }
    result.Bitmap = MakeBitmap(picture, quantised);
    if (!result.Bitmap) {
        result.Error = "no bitmap for the picture";
        return result;
    }
    result.Width = int(picture.Width);
    result.Height = int(picture.Height);
    return result;
}

}  // namespace kvorn
