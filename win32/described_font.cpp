#include "described_font.h"

#include <stdexcept>
#include <string>

#include "display_scale.h"
#include "wide_text.h"

namespace kvorn {

void DescribedFonts::Clear()
{
    for (const Made& font : made_)
        DeleteObject(font.handle);
    made_.clear();
}

void DescribedFonts::KeepOnly(int dpi)
{
    std::vector<Made> kept;
    for (const Made& font : made_) {
        if (font.dpi == dpi)
            kept.push_back(font);
        else
            DeleteObject(font.handle);
    }
    made_ = std::move(kept);
}

HFONT DescribedFonts::For(const FontDescription& font, int dpi)
{
    for (const Made& made : made_)
        if (made.description.Face == font.Face && made.description.PixelHeight == font.PixelHeight &&
            made.description.Bold == font.Bold && made.dpi == dpi)
            return made.handle;
    // A negative height asks for the character height, as described. The
    // Cyrillic character set, so that the ship names show wherever the face
    // itself has no Cyrillic letters.
    LOGFONTW wanted = {};
    wanted.lfHeight = -Scaled(font.PixelHeight, dpi);
    wanted.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    const std::wstring face = Widen(font.Face);
    lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT handle = CreateFontIndirectW(&wanted);
    if (!handle)
        throw std::runtime_error("The font " + std::string(font.Face) + " cannot be made");

    // A face that stands in for a missing one (other than Windows' own
    // successor of MS Sans Serif) is made a tenth narrower.
    // Asked of a memory DC, which maps faces as the screen's does: Wine
    // makes a screen DC dearly.
    HDC screen = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(screen, handle);
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, chosen);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    DeleteDC(screen);
    const bool standIn = lstrcmpiW(chosen, face.c_str()) != 0 && lstrcmpiW(chosen, L"Microsoft Sans Serif") != 0;
    if (standIn && metrics.tmAveCharWidth > 0) {
        wanted.lfWidth = (metrics.tmAveCharWidth * StandInWidthPercent + 50) / 100;
        if (HFONT narrower = CreateFontIndirectW(&wanted)) {
            DeleteObject(handle);
            handle = narrower;
        }
    }
    made_.push_back({font, dpi, handle});
    return handle;
}

}  // namespace kvorn
