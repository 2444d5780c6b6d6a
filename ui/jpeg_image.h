#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

enum class JpegColours {
    Full,       // 24-bit colour
    Quantised,  // libjpeg's colour quantiser, for screens of 8 bits or fewer
};

struct JpegResult {
    QImage image;   // null on failure
    QString error;  // why it failed
};

// Decodes with libjpeg's default decompression parameters. A corrupt or
// truncated file gives an error, libjpeg's warnings included.
JpegResult DecodeJpeg(const QByteArray& data, JpegColours colours);

// The colour count libjpeg is asked to reduce to.
inline constexpr int QuantisedColourCount = 236;
