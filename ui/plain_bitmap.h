#pragma once
// Uncompressed 24-bit BMP files, read without Qt's image readers: the
// first of those looks through every image plugin at start-up.

#include <QByteArray>
#include <QImage>

namespace kvorn {

// The picture as Qt's own reader gives it (32-bit, opaque), or a null image
// for anything but a whole, uncompressed 24-bit file.
QImage ReadPlainBitmap(const QByteArray& file);

}  // namespace kvorn
