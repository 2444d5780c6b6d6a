#include "jpeg_image.h"

namespace kvorn {

JpegResult DecodeJpeg(const QByteArray& data, JpegColours colours)
{
    // Full colour is decoded as the screen's own 32-bit format, so that the
    // pixmap can take the image's memory as it is.
    const bool quantised = colours == JpegColours::Quantised;
    const JpegColours decoded = quantised ? colours : JpegColours::FullBgrx;
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "blue, green, red, 0xff is 0xffRRGGBB only on little-endian machines");
    QImage image;
    std::vector<std::array<unsigned char, 3>> palette;
    const std::string error = kvorn::DecodeJpegInto(
        reinterpret_cast<const unsigned char*>(data.constData()), std::size_t(data.size()), decoded,
        [&image, quantised](unsigned width, unsigned height) {
            image = QImage(int(width), int(height), quantised ? QImage::Format_Indexed8 : QImage::Format_RGB32);
            return kvorn::JpegRows{image.isNull() ? nullptr : image.bits(), std::size_t(image.bytesPerLine())};
        },
        &palette);
    if (!error.empty())
        return {QImage(), QString::fromStdString(error)};
    if (quantised) {
        QList<QRgb> table;
        for (const auto& colour : palette)
            table.append(qRgb(colour[0], colour[1], colour[2]));
        image.setColorTable(table);
    }
    return {image, QString()};
}

}  // namespace kvorn
