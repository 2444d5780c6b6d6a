#include "jpeg_image.h"

#include <cstring>

JpegResult DecodeJpeg(const QByteArray& data, JpegColours colours)
{
    const kvorn::DecodedJpeg decoded = kvorn::DecodeJpegData(
        reinterpret_cast<const unsigned char*>(data.constData()), std::size_t(data.size()), colours);
    if (!decoded.Error.empty())
        return {QImage(), QString::fromLocal8Bit(decoded.Error.c_str())};
    const bool quantised = colours == JpegColours::Quantised;
    const int width = int(decoded.Width), height = int(decoded.Height);
    const std::size_t rowBytes = std::size_t(width) * (quantised ? 1 : 3);
    QImage image(width, height, quantised ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (quantised) {
        QList<QRgb> table;
        for (const auto& colour : decoded.Palette)
            table.append(qRgb(colour[0], colour[1], colour[2]));
        image.setColorTable(table);
    }
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), decoded.Pixels.data() + rowBytes * std::size_t(y), rowBytes);
    return {image, QString()};
}
