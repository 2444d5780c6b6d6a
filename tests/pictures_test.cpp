// The embedded pictures and the libjpeg decoder.

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTest>

#include <new>
#include <vector>

#include "jpeg_image.h"
#include "pictures.h"
#include "plain_bitmap.h"

using namespace kvorn;

class PicturesTest : public QObject {
    Q_OBJECT

    static QByteArray Background()
    {
        QFile file(QStringLiteral(":/kvorn/background.jpg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); }

    // The 32-bit rows hold the same colours as the decoder's RGB triples.
    void fullColourIsTheDecodersRgb()
    {
        const QByteArray data = Background();
        const kvorn::DecodedJpeg rgb = kvorn::DecodeJpegData(reinterpret_cast<const unsigned char*>(data.constData()),
                                                             std::size_t(data.size()), JpegColours::Full);
        QVERIFY2(rgb.Error.empty(), rgb.Error.c_str());
        const JpegResult result = DecodeJpeg(data, JpegColours::Full);
        QCOMPARE(result.image.size(), QSize(int(rgb.Width), int(rgb.Height)));
        for (int y = 0; y < result.image.height(); ++y)
            for (int x = 0; x < result.image.width(); ++x) {
                const unsigned char* p = rgb.Pixels.data() + (std::size_t(y) * rgb.Width + std::size_t(x)) * 3;
                if (result.image.pixel(x, y) != qRgb(p[0], p[1], p[2]))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            }
    }

    // Rows the caller cannot give end the decoding with an error.
    void missingRowsAreAClearError()
    {
        const QByteArray data = Background();
        std::vector<unsigned char> narrow(196 * 2 * 317);
        const kvorn::JpegRowSource sources[] = {
            [](unsigned, unsigned) { return kvorn::JpegRows{}; },
            [](unsigned, unsigned) -> kvorn::JpegRows { throw std::bad_alloc(); },
            [&narrow](unsigned, unsigned) { return kvorn::JpegRows{narrow.data(), 196 * 2}; },
        };
        for (const kvorn::JpegRowSource& rows : sources) {
            const std::string error = kvorn::DecodeJpegInto(reinterpret_cast<const unsigned char*>(data.constData()),
                                                            std::size_t(data.size()), JpegColours::Full, rows);
            QCOMPARE(QString::fromStdString(error), QStringLiteral("no memory for a 196x317 picture"));
        }
    }

    void quantisedToAtMost236Colours()
    {
        const JpegResult result = DecodeJpeg(Background(), JpegColours::Quantised);
        QVERIFY2(!result.image.isNull(), qPrintable(result.error));
        QCOMPARE(result.image.format(), QImage::Format_Indexed8);
        QVERIFY(result.image.colorCount() <= 236);
        QVERIFY(result.image.colorCount() > 16);
        QSet<int> used;
        for (int y = 0; y < result.image.height(); ++y)
            for (int x = 0; x < result.image.width(); ++x)
                used.insert(result.image.pixelIndex(x, y));
        QVERIFY(used.size() <= 236);
        for (int depth : {8, 15, 16, 24})  // for a display of 256 colours only
            QCOMPARE(BackgroundPicture(depth, 1).image.format() == QImage::Format_Indexed8, depth == 8);
    }

    void brokenDataIsAClearError_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = Background();
        QByteArray flipped = good;
        for (qsizetype i = 600; i < flipped.size() - 600; i += 97)
            flipped[i] = char(~flipped[i]);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a, or anything else at all");
        QTest::newRow("header only") << good.left(300);
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QTest::newRow("no end marker") << good.left(good.size() - 2);
        QTest::newRow("bytes flipped") << flipped;
    }
    void brokenDataIsAClearError()
    {
        QFETCH(QByteArray, data);
        for (JpegColours colours : {JpegColours::Full, JpegColours::Quantised}) {
            const JpegResult result = DecodeJpeg(data, colours);
            QVERIFY(result.image.isNull());
            QVERIFY(!result.error.isEmpty());
        }
    }

    // The button pictures read as Qt's own reader reads them, top-down
    // files too; anything else is left to Qt's reader.
    void plainBitmapIsQtsOwn_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("read");
        QFile clear(QStringLiteral(":/kvorn/clear.bmp")), exit(QStringLiteral(":/kvorn/exit.bmp"));
        QVERIFY(clear.open(QIODevice::ReadOnly) && exit.open(QIODevice::ReadOnly));
        const QByteArray good = clear.readAll();
        const auto patched = [&good](int at, QByteArray bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
        QByteArray topDown = patched(22, QByteArray("\xea\xff\xff\xff", 4));  // height -22
        const qsizetype stride = (81 * 3 + 3) / 4 * 4, pixels = 54;
        for (int y = 0; y < 22; ++y)
            topDown.replace(pixels + stride * y, stride, good.mid(pixels + stride * (21 - y), stride));
        QTest::newRow("clear") << good << true;
        QTest::newRow("exit") << exit.readAll() << true;
        QTest::newRow("top-down") << topDown << true;
        QTest::newRow("truncated") << good.left(good.size() - 1) << false;
        QTest::newRow("8-bit") << patched(28, QByteArray("\x08", 1)) << false;
        QTest::newRow("compressed") << patched(30, QByteArray("\x01", 1)) << false;
        QTest::newRow("not a bitmap") << patched(0, "MB") << false;
    }
    void plainBitmapIsQtsOwn()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, read);
        const QImage image = ReadPlainBitmap(file);
        QCOMPARE(!image.isNull(), read);
        if (read)
            QCOMPARE(image, QImage::fromData(file, "BMP"));
    }

    void buttonPicturesAndIcon_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("clear") << QStringLiteral(":/kvorn/clear.bmp") << QSize(81, 22);
        QTest::newRow("exit") << QStringLiteral(":/kvorn/exit.bmp") << QSize(81, 22);
        QTest::newRow("icon") << QStringLiteral(":/kvorn/icon-32.png") << QSize(32, 32);
        QTest::newRow("large icon") << QStringLiteral(":/kvorn/icon-256.png") << QSize(256, 256);
    }
    void buttonPicturesAndIcon()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QCOMPARE(image.size(), size);
        if (path.endsWith(QLatin1String(".bmp")))
            QCOMPARE(image.depth(), 32);  // Qt widens 24-bit BMPs to 32 bits in memory
    }
};

QTEST_GUILESS_MAIN(PicturesTest)
#include "pictures_test.moc"
