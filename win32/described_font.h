#pragma once
// The faces the form description names, made for Windows at a display's
// scale: the described pixel heights are 96-dpi pixels. Each distinct face
// is made, and measured, once per scale; a missing face's stand-in is made
// a tenth narrower, so that three bold digits still fit a crew field.

#include <windows.h>

#include <vector>

#include "form_description.h"

namespace kvorn {

class DescribedFonts {
public:
    DescribedFonts() = default;
    DescribedFonts(const DescribedFonts&) = delete;
    DescribedFonts& operator=(const DescribedFonts&) = delete;
    ~DescribedFonts() { Clear(); }

    // Throws std::runtime_error when Windows refuses the face.
    HFONT For(const FontDescription& font, int dpi);
    // Deletes every face made (but those for `dpi`); none may still be in use.
    void Clear();
    void KeepOnly(int dpi);

private:
    struct Made {
        FontDescription description;
        int dpi;
        HFONT handle;
    };
    std::vector<Made> made_;
};

}  // namespace kvorn
