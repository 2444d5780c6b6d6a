#include "pictures.h"

#include <QFile>
#include <QImageReader>

#include "plain_bitmap.h"

// The pictures live in a static library; make sure the linker keeps them.
static void InitialisePictures() { Q_INIT_RESOURCE(assets); }

QPixmap LoadPicture(const QString& path, const char* format)
{
    InitialisePictures();
    if (qstrcmp(format, "bmp") == 0) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            if (QImage image = ReadPlainBitmap(file.readAll()); !image.isNull())
                return QPixmap::fromImage(std::move(image));
    }
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ShipIcon()
{
    QIcon icon;
    for (int size : {32, 64})
        icon.addPixmap(LoadPicture(QStringLiteral(":/kvorn/icon-%1.png").arg(size), "png"));
    return icon;
}

JpegResult BackgroundPicture(int depth)
{
    InitialisePictures();
    QFile file(QStringLiteral(":/kvorn/background.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), file.errorString()};
    return DecodeJpeg(file.readAll(), depth <= 8 ? JpegColours::Quantised : JpegColours::Full);
}
