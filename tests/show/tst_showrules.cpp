#include "common/AppError.h"
#include "common/SlideOrder.h"
#include "platform/SlidePreparer.h"
#include "show/ShowGeometry.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace vantelo;
using vantelo::test::failureOf;

class TestShowRules : public QObject
{
    Q_OBJECT
private slots:
    void slideBox_data()
    {
        QTest::addColumn<int>("workWidth");
        QTest::addColumn<int>("workHeight");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("failure");
        // The window's own table (800 x 600 with 480 X 640, 640 X 480, 200 X 400) is in tst_fullshow.
        QTest::newRow("work area with a task bar") << 1920 << 1040 << "4000 X 6000" << QRect(180, 0, 1560, 1040) << 0;
        QTest::newRow("scaled down, a half pixel to even")
            << 1366 << 728 << "3024 X 4032" << QRect(198, 0, 971, 728) << 0;
        QTest::newRow("tiny picture scaled up") << 800 << 600 << "3 X 4" << QRect(0, 0, 800, 600) << 0;
        QTest::newRow("zero height") << 800 << 600 << "0 X 640" << QRect() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("zero width") << 800 << 600 << "480 X 0" << QRect() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("no capital X") << 800 << 600 << "480 x 640" << QRect() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("negative height") << 800 << 600 << "-480 X 640" << QRect() << 380;
        QTest::newRow("negative work height") << 800 << -600 << "480 X 640" << QRect() << 380;
        QTest::newRow("zero work height") << 800 << 0 << "480 X 640" << QRect(400, 0, 0, 0) << 0;
        QTest::newRow("beyond any window") << 800 << 32767 << "1 X 32767" << QRect() << int(ErrorNumber::Overflow);
    }
    void slideBox()
    {
        QFETCH(int, workWidth);
        QFETCH(int, workHeight);
        QFETCH(QString, sizeText);
        QFETCH(QRect, box);
        QFETCH(int, failure);
        QRect computed;
        QCOMPARE(failureOf([&] {
                     computed =
                         vantelo::slideBox(std::int16_t(workWidth), std::int16_t(workHeight), readSizeText(sizeText));
                 }),
                 failure);
        if (failure == 0)
            QCOMPARE(computed, box);
    }

    void decodeSize_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("the box itself") << QSize(1620, 1080) << QSize(1620, 1080);
        QTest::newRow("empty box still decodes a pixel") << QSize(0, 0) << QSize(1, 1);
        QTest::newRow("a line") << QSize(0, 600) << QSize(1, 600);
        QTest::newRow("beyond the budget keeps proportions") << QSize(16000, 8000) << QSize(5792, 2896);
    }
    void decodeSize()
    {
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        const QSize size = decodeSizeFor(box);
        QCOMPARE(size, decoded);
        QVERIFY(qint64(size.width()) * size.height() <= MaxDecodedPixels);
    }

    void randomPosition_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("position");
        QTest::newRow("just below a half") << 3 << 0.2499f << 1;
        QTest::newRow("1.5 goes to the even 2") << 3 << 0.25f << 2;
        QTest::newRow("2.5 goes to the even 2") << 3 << 0.75f << 2;
        QTest::newRow("just above 2.5") << 3 << 0.7501f << 3;
        QTest::newRow("highest draw") << 3 << 0.99999994f << 3;
        QTest::newRow("one row, any draw") << 1 << 0.99999994f << 1;
        QTest::newRow("empty list, low draw") << 0 << 0.2f << 1;
        QTest::newRow("empty list, high draw") << 0 << 0.9f << 0;
        QTest::newRow("largest list") << 32767 << 0.99999994f << 32767;
    }
    void randomPosition()
    {
        QFETCH(int, count);
        QFETCH(float, r);
        QFETCH(int, position);
        QCOMPARE(int(vantelo::randomPosition(std::int16_t(count), r)), position);
    }

    void aPreparedSlideIsTakenOnceWhileItStillMatches()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("slide.bmp"));
        const auto paint = [&path](const QColor& colour) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(colour);
            return QFile::remove(path) | image.save(path, "BMP");
        };
        QVERIFY(paint(Qt::red));
        SlidePreparer counted;
        std::atomic<int> decodes = 0;
        counted.setDecoder([&decodes](const QString& file, const QSize& size) {
            ++decodes;
            return QImage(file).scaled(size);
        });
        counted.prepare(path, QSize(4, 4));
        QCOMPARE(counted.take(path, QSize(4, 4)).size(), QSize(4, 4));
        QCOMPARE(decodes.load(), 1);
        counted.take(path, QSize(4, 4)); // taken already: decoded again
        QCOMPARE(decodes.load(), 2);

        SlidePreparer preparer;
        preparer.prepare(path, QSize(4, 4));
        QCOMPARE(preparer.take(path, QSize(2, 2)).size(), QSize(2, 2)); // another size: decoded now
        preparer.prepare(path, QSize(4, 4));
        QVERIFY(paint(Qt::green)); // replaced since: shown as it is now
        QCOMPARE(preparer.take(path, QSize(4, 4)).pixelColor(1, 1), QColor(Qt::green));
        preparer.prepare(path, QSize(4, 4));
        QVERIFY(QFile::remove(path));
        QCOMPARE(failureOf([&] { preparer.take(path, QSize(4, 4)); }), int(ErrorNumber::FileNotFound));
    }
};

VANTELO_TEST_MAIN(TestShowRules)
#include "tst_showrules.moc"
