#pragma once
// The window's pictures are drawn at 1, 1.5 and 2 times their size, for
// display scales of 100 %, 150 % and 200 %. A window shows the one drawn at
// its display's scale or the nearest above it (scaled down where it is not
// the same), and the largest beyond 200 %.

#include <string_view>

namespace kvorn {

struct PictureScale {
    int Percent;              // 100, 150 or 200
    std::string_view Suffix;  // of the file's name: "", "@1.5x" or "@2x"
};

PictureScale PictureFor(double displayScale);

// The pictures' sizes at 100 %.
struct PictureSize {
    int Width, Height;
};
inline constexpr PictureSize BackgroundPictureSize = {196, 317};
inline constexpr PictureSize ButtonPictureSize = {81, 22};

}  // namespace kvorn
