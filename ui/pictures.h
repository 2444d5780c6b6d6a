#pragma once
// The window's pictures, from the program's resources.

#include <QIcon>
#include <QPixmap>

#include "jpeg_image.h"

namespace kvorn {

// A picture in a named format: Qt then uses its built-in reader at once
// instead of loading every image plugin to probe the bytes.
QPixmap LoadPicture(const QString& path, const char* format);
// The ship icon at the window's sizes; menus and launchers take the icon theme's.
QIcon ShipIcon();
// The background, decoded by libjpeg for a screen of `depth` bits per pixel,
// drawn for a device pixel ratio of `ratio` (see picture_scale.h).
JpegResult BackgroundPicture(int depth, qreal ratio = 1);
// A button's picture ("clear" or "exit") for a device pixel ratio.
QPixmap ButtonPicture(const char* name, qreal ratio = 1);

}  // namespace kvorn
