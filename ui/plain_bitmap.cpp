#include "plain_bitmap.h"

#include <cstdint>
#include <cstdlib>

namespace kvorn {

namespace {

std::uint32_t Little(const QByteArray& bytes, qsizetype at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

}  // namespace

QImage ReadPlainBitmap(const QByteArray& file)
{
    constexpr qsizetype FileHeader = 14, InfoHeader = 40;
    if (file.size() < FileHeader + InfoHeader || !file.startsWith("BM"))
        return {};
    const std::uint32_t pixelsAt = Little(file, 10, 4);
    const std::uint32_t headerSize = Little(file, 14, 4);
    const auto width = std::int32_t(Little(file, 18, 4));
    const auto height = std::int32_t(Little(file, 22, 4));
    const std::uint32_t planes = Little(file, 26, 2), bits = Little(file, 28, 2), compression = Little(file, 30, 4);
    if (headerSize < InfoHeader || planes != 1 || bits != 24 || compression != 0 || width <= 0 || width > 4096 ||
        height == 0 || std::abs(height) > 4096)
        return {};
    const int rows = std::abs(height);
    const qsizetype stride = (qsizetype(width) * 3 + 3) / 4 * 4;
    if (pixelsAt < FileHeader + headerSize || qsizetype(pixelsAt) + stride * rows > file.size())
        return {};
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(file.constData()) + pixelsAt;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* in = pixels + stride * (height > 0 ? rows - 1 - y : y);  // bottom-up unless negative
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

}  // namespace kvorn
