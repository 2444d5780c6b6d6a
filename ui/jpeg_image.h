#pragma once
// The background picture as a Qt image.

#include <QByteArray>
#include <QImage>
#include <QString>

#include "jpeg_decoder.h"

namespace kvorn {

struct JpegResult {
    QImage image;   // null on failure
    QString error;  // why it failed
};

JpegResult DecodeJpeg(const QByteArray& data, JpegColours colours);

}  // namespace kvorn
