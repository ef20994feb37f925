#include "GifWriter.h"
#include "common/AppError.h"
#include "platform/PictureFile.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace vantelo;
using vantelo::test::failureOf;

namespace {

// A picture with a red left half and a blue right half, saved in format.
QString makePicture(const QTemporaryDir& dir, const QString& name, int width, int height, const char* format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    const QString path = dir.filePath(name);
    if (QByteArray(format) == "GIF") {
        vantelo::tools::writeGif(image, path);
        return path;
    }
    QImageWriter writer(path, format);
    if (!writer.write(image))
        qWarning() << "could not write" << path << writer.errorString();
    return path;
}

// A JPEG whose EXIF orientation tag says "turn 90 degrees clockwise to view" (value 6).
QString makeTurnedJpeg(const QTemporaryDir& dir, int storedWidth, int storedHeight)
{
    QImage image(storedWidth, storedHeight, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    // APP1 Exif segment: big-endian TIFF header, one IFD entry 0x0112 (orientation) = 6.
    const QByteArray tiff = QByteArray("MM\x00\x2A\x00\x00\x00\x08", 8) + QByteArray("\x00\x01", 2) +
                            QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00", 12) +
                            QByteArray("\x00\x00\x00\x00", 4);
    const QByteArray payload = QByteArray("Exif\x00\x00", 6) + tiff;
    const int length = payload.size() + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    jpeg.insert(2, segment);
    const QString path = dir.filePath(QStringLiteral("turned.jpg"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(jpeg);
    return path;
}

} // namespace

class TestPictureFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void measuresByContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("jpeg") << "a.jpg" << QByteArray("JPEG") << QSize(800, 600);
        QTest::newRow("bmp") << "b.bmp" << QByteArray("BMP") << QSize(33, 17);
        QTest::newRow("gif") << "c.gif" << QByteArray("GIF") << QSize(640, 480);
        QTest::newRow("jpeg named .gif") << "d.gif" << QByteArray("JPEG") << QSize(5, 7);
        QTest::newRow("upper-case name") << "E.JPG" << QByteArray("JPEG") << QSize(1, 1);
    }
    void measuresByContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        const QString path = makePicture(m_dir, name, size.width(), size.height(), format.constData());
        QSize measured, decoded;
        QCOMPARE(failureOf([&] { measured = measurePicture(path); }), 0);
        QCOMPARE(failureOf([&] { decoded = decodePicture(path).size(); }), 0);
        QCOMPARE(measured, size);
        QCOMPARE(decoded, size);
    }

    void refusesWhatIsNoAcceptedPicture()
    {
        const QString png = makePicture(m_dir, QStringLiteral("png.jpg"), 10, 10, "PNG");
        QFile text(m_dir.filePath(QStringLiteral("text.jpg")));
        text.open(QIODevice::WriteOnly);
        text.write("this is not a picture\n");
        text.close();
        QFile empty(m_dir.filePath(QStringLiteral("empty.bmp")));
        empty.open(QIODevice::WriteOnly);
        empty.close();
        for (const QString& path : {png, text.fileName(), empty.fileName(), m_dir.path()}) {
            QCOMPARE(failureOf([&] { measurePicture(path); }), int(ErrorNumber::InvalidPicture));
            QCOMPARE(failureOf([&] { decodePicture(path, QSize(10, 10)); }), int(ErrorNumber::InvalidPicture));
        }
        QCOMPARE(failureOf([&] { measurePicture(m_dir.filePath(QStringLiteral("missing.jpg"))); }),
                 int(ErrorNumber::FileNotFound));
    }

    void decodesStraightToTheShownSize()
    {
        const QString path = makePicture(m_dir, QStringLiteral("big.jpg"), 1600, 1200, "JPEG");
        QImage image;
        QCOMPARE(failureOf([&] { image = decodePicture(path, QSize(200, 75)); }), 0); // stretched, not proportional
        QCOMPARE(image.size(), QSize(200, 75));
        QVERIFY(qRed(image.pixel(20, 40)) > 200 && qBlue(image.pixel(20, 40)) < 60);
        QVERIFY(qBlue(image.pixel(180, 40)) > 200 && qRed(image.pixel(180, 40)) < 60);
    }

    void turnedJpegIsReadUpright()
    {
        const QString path = makeTurnedJpeg(m_dir, 40, 30);
        QSize measured, full, scaled;
        QCOMPARE(failureOf([&] {
                     measured = measurePicture(path);
                     full = decodePicture(path).size();
                     scaled = decodePicture(path, QSize(15, 20)).size();
                 }),
                 0);
        QCOMPARE(measured, QSize(30, 40));
        QCOMPARE(full, QSize(30, 40));
        QCOMPARE(scaled, QSize(15, 20));
    }
};

VANTELO_TEST_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
