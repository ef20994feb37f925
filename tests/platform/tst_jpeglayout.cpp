#include "HostilePictures.h"
#include "platform/JpegLayout.h"
#include "support/TestMain.h"

#include <QBuffer>
#include <QTest>

using namespace vantelo;
using namespace vantelo::test;

namespace {

JpegLayout layoutOf(const QByteArray& bytes, int maxScans = 256)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readJpegLayout(buffer, maxScans);
}

} // namespace

class TestJpegLayout : public QObject
{
    Q_OBJECT
private slots:
    void baselineIsOnePassWhateverFollows()
    {
        const QByteArray jpeg = encodeJpeg(patternImage(QSize(1600, 1200), QImage::Format_RGB32), false);
        const JpegLayout layout = layoutOf(jpeg);
        QVERIFY(layout.hasFrame);
        QCOMPARE(QSize(layout.width, layout.height), QSize(1600, 1200));
        QVERIFY(!layout.progressive);
        QVERIFY(!layout.wholeImageBuffer);
        QCOMPARE(layout.coefficientBytes, 0);
    }

    void progressiveScansAndMemoryAreCounted()
    {
        // The encoder's usual progression for colour: ten scans. At 4:2:0, 1600 x 1200 is 200 x 150
        // luma blocks and 100 x 75 for each chroma component, 128 bytes each.
        const QByteArray jpeg = encodeJpeg(patternImage(QSize(1600, 1200), QImage::Format_RGB32), true);
        const JpegLayout layout = layoutOf(jpeg);
        QVERIFY(layout.progressive);
        QVERIFY(layout.wholeImageBuffer);
        QCOMPARE(layout.scans, 10);
        QCOMPARE(layout.coefficientBytes, (200 * 150 + 2 * 100 * 75) * 128);
        QVERIFY(layout.scanBlocks >= 10 * 100 * 75 && layout.scanBlocks <= 10 * 45000);
    }

    void hollowScansCountTheirBlocks()
    {
        // One interleaved DC scan over 125 x 125 MCUs of one block each, then 199 AC scans of the
        // same 15625 blocks: every scan is a pass even without data.
        const JpegLayout layout = layoutOf(hollowJpeg(QSize(1000, 1000), true, 1, 0x11, 200));
        QCOMPARE(layout.scans, 200);
        QCOMPARE(layout.scanBlocks, 200 * 15625);
        QCOMPARE(layout.coefficientBytes, 15625 * 128);
    }

    void sequentialScansOfSingleComponentsNeedTheWholeBuffer()
    {
        QList<JpegSegment> segments = splitJpeg(encodeJpeg(patternImage(QSize(64, 64), QImage::Format_RGB32), false));
        for (qsizetype i = 0; i < segments.size(); ++i) {
            if (segments[i].marker != 0xDA)
                continue;
            // Split the one interleaved scan into one scan per component.
            JpegSegment scan = segments[i];
            segments.remove(i);
            for (int id = 3; id >= 1; --id) {
                JpegSegment single{0xDA, QByteArray(), QByteArray()};
                single.payload.append(char(1)).append(char(id)).append(char(id == 1 ? 0x00 : 0x11));
                single.payload.append(char(0)).append(char(63)).append(char(0));
                segments.insert(i, single);
            }
            break;
        }
        const JpegLayout layout = layoutOf(joinJpeg(segments));
        QVERIFY(!layout.progressive);
        QVERIFY(layout.wholeImageBuffer);
        QCOMPARE(layout.scans, 3);
    }

    void countingStopsPastTheLimit()
    {
        const JpegLayout layout = layoutOf(hollowJpeg(QSize(16, 16), true, 3, 0x22, 100000), 256);
        QCOMPARE(layout.scans, 257);
    }

    void markersInsideCodedDataAreNotScans()
    {
        // Stuffed zeros, restart markers and fill bytes belong to the coded data.
        QList<JpegSegment> segments = splitJpeg(hollowJpeg(QSize(64, 64), true, 1, 0x11, 3));
        for (JpegSegment& s : segments)
            if (s.marker == 0xDA)
                s.entropy = QByteArray("\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xFF\xFF\xD7\x78", 12);
        QCOMPARE(layoutOf(joinJpeg(segments)).scans, 3);
    }

    void brokenInputsGiveWhatWasSeen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hasFrame");
        const QByteArray progressive = hollowJpeg(QSize(64, 64), true, 3, 0x22, 5);
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("no start of image") << QByteArray("GIF89a") << false;
        QTest::newRow("start of image only") << QByteArray("\xFF\xD8", 2) << false;
        QTest::newRow("cut inside a segment length") << progressive.left(3) << false;
        QTest::newRow("cut inside the frame header") << progressive.left(progressive.indexOf("\xFF\xC2") + 6) << false;
        QTest::newRow("cut after the frame header") << progressive.left(progressive.indexOf("\xFF\xDA")) << true;
        QTest::newRow("no end of image") << progressive.chopped(2) << true;
    }
    void brokenInputsGiveWhatWasSeen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hasFrame);
        const JpegLayout layout = layoutOf(bytes);
        QCOMPARE(layout.hasFrame, hasFrame);
        QVERIFY(layout.scans <= 5);
    }
};

VANTELO_TEST_MAIN(TestJpegLayout)
#include "tst_jpeglayout.moc"
