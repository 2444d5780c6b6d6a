#include "pictures.h"

#include <QFile>
#include <QImageReader>

#include "picture_scale.h"
#include "plain_bitmap.h"

// The pictures live in a static library; make sure the linker keeps them.
// Outside any namespace, as Qt's resource initialiser has to be.
static void InitialisePictures() { Q_INIT_RESOURCE(assets); }

namespace kvorn {

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

namespace {

QString Suffix(qreal ratio)
{
    const std::string_view suffix = kvorn::PictureFor(ratio).Suffix;
    return QString::fromLatin1(suffix.data(), qsizetype(suffix.size()));
}

// Drawn for `ratio`: as it is where it was drawn for that, else scaled down.
QImage AtRatio(QImage image, QSize logical, qreal ratio)
{
    const QSize device = (QSizeF(logical) * ratio).toSize();
    if (ratio > 1.001 && image.size() != device)
        image = image.convertToFormat(QImage::Format_RGB32)
                    .scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (ratio > 1.001)
        image.setDevicePixelRatio(qreal(image.width()) / logical.width());
    return image;
}

}  // namespace

JpegResult BackgroundPicture(int depth, qreal ratio)
{
    InitialisePictures();
    QFile file(QStringLiteral(":/kvorn/background%1.jpg").arg(Suffix(ratio)));
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), file.errorString()};
    JpegResult result = DecodeJpeg(file.readAll(), depth <= 8 ? JpegColours::Quantised : JpegColours::Full);
    if (!result.image.isNull())
        result.image = AtRatio(std::move(result.image), {kvorn::BackgroundPictureSize.Width, kvorn::BackgroundPictureSize.Height}, ratio);
    return result;
}

QPixmap ButtonPicture(const char* name, qreal ratio)
{
    const QPixmap picture = LoadPicture(QStringLiteral(":/kvorn/%1%2.bmp").arg(QLatin1String(name), Suffix(ratio)), "bmp");
    if (ratio <= 1.001 || picture.isNull())
        return picture;
    return QPixmap::fromImage(AtRatio(picture.toImage(), {kvorn::ButtonPictureSize.Width, kvorn::ButtonPictureSize.Height}, ratio));
}

}  // namespace kvorn
