#include "picture_scale.h"

namespace kvorn {

PictureScale PictureFor(double displayScale)
{
    // A hair of slack: 144 / 96 and Qt's ratios are not always exact.
    if (displayScale <= 1.001)
        return {100, ""};
    if (displayScale <= 1.501)
        return {150, "@1.5x"};
    return {200, "@2x"};
}

}  // namespace kvorn
