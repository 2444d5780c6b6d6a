#include "pictures.h"

#include <QFile>
#include <QImageReader>

// The pictures live in a static library; make sure the linker keeps them.
static void InitialisePictures() { Q_INIT_RESOURCE(assets); }

QPixmap LoadPicture(const QString& path, const char* format)
{
    InitialisePictures();
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
