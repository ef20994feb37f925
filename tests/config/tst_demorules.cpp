#include "TestPictures.h"
#include "common/AppError.h"
#include "config/ColorValue.h"
#include "config/DelayRules.h"
#include "config/DemoOrder.h"
#include "config/SlidePreparer.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>

using namespace vantelo;

namespace {

int failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestDemoRules : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void setTimerTakesDelaysBelowAMinute_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds"); // -1: refused
        QTest::newRow("7") << "7" << 7;
        QTest::newRow("leading zero") << "05" << 5;
        QTest::newRow("59") << "59" << 59;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("60") << "60" << -1;
        QTest::newRow("99") << "99" << -1;
        QTest::newRow("empty box") << "" << -1;
        QTest::newRow("pasted letters") << "ab" << -1;
        QTest::newRow("pasted digit and letter") << "7a" << -1;
        QTest::newRow("pasted negative") << "-5" << -1;
        QTest::newRow("pasted blank before a digit") << " 7" << 7;
    }
    void setTimerTakesDelaysBelowAMinute()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        const std::optional<std::int16_t> accepted = acceptedDelay(text);
        QCOMPARE(accepted.has_value(), seconds >= 0);
        if (accepted)
            QCOMPARE(int(*accepted), seconds);
    }

    void exitStoresTheDelayAsTypedUnlessItIsNoNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("above the limit, never set") << "75"
                                                    << "75";
        QTest::newRow("leading zero") << "05"
                                      << "05";
        QTest::newRow("empty box") << ""
                                   << "5";
        QTest::newRow("pasted letters") << "ab"
                                        << "5";
        QTest::newRow("pasted digit and letter") << "7a"
                                                 << "5";
    }
    void exitStoresTheDelayAsTypedUnlessItIsNoNumber()
    {
        QFETCH(QString, text);
        QTEST(delayTextToStore(text), "stored");
    }

    void colourValuesHoldRedInTheLowByte_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("value");
        QTest::newRow("black") << QColor(Qt::black) << 0;
        QTest::newRow("pure red") << QColor(255, 0, 0) << 255;
        QTest::newRow("pure green") << QColor(0, 255, 0) << 65280;
        QTest::newRow("pure blue") << QColor(0, 0, 255) << 16711680;
        QTest::newRow("white") << QColor(Qt::white) << 16777215;
        QTest::newRow("mixed") << QColor(1, 2, 3) << (1 | 2 << 8 | 3 << 16);
        QTest::newRow("transparency ignored") << QColor(255, 0, 0, 128) << 255;
        QTest::newRow("given as hue") << QColor::fromHsv(240, 255, 255) << 16711680;
    }
    void colourValuesHoldRedInTheLowByte()
    {
        QFETCH(QColor, color);
        QTEST(int(colorValue(color)), "value");
    }

    void listOrderCyclesThroughTheRows_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("positions");
        QTest::newRow("three rows") << 3 << QList<int>{1, 2, 3, 1, 2, 3, 1};
        QTest::newRow("one row") << 1 << QList<int>{1, 1, 1};
    }
    void listOrderCyclesThroughTheRows()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, positions);
        std::int16_t index = 1;
        QList<int> shown;
        for (int tick = 0; tick < positions.size(); ++tick) {
            checkDemoPosition(index, std::int16_t(rows));
            shown << index;
            index = nextDemoIndex(index, std::int16_t(rows));
        }
        QCOMPARE(shown, positions);
    }

    void aShrunkListLeavesThePositionBehind()
    {
        // Position 3 of a list cut to one row: it keeps counting and names no row.
        QCOMPARE(int(nextDemoIndex(3, 1)), 4);
        QCOMPARE(failureOf([] { checkDemoPosition(3, 1); }), int(ErrorNumber::IndexOutOfBounds));
    }

    void randomPositionsRoundHalvesToEven_data()
    {
        QTest::addColumn<float>("draw");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("position");
        QTest::newRow("lowest draw") << 0.0f << 3 << 1;
        QTest::newRow("1.5 goes to 2") << 0.25f << 3 << 2;
        QTest::newRow("2.5 goes to 2") << 0.75f << 3 << 2;
        QTest::newRow("just below 1.5") << 0.2499f << 3 << 1;
        QTest::newRow("just above 2.5") << 0.7501f << 3 << 3;
        QTest::newRow("highest draw") << 0.99999994f << 3 << 3;
        QTest::newRow("four rows, 2.5") << 0.5f << 4 << 2;
        QTest::newRow("four rows, 3.5") << 0.8333334f << 4 << 4;
        QTest::newRow("one row, any draw") << 0.9f << 1 << 1;
        QTest::newRow("two rows, 1.5 goes to 2") << 0.5f << 2 << 2;
        QTest::newRow("the longest list reaches its last row") << 0.99999994f << 32767 << 32767;
        QTest::newRow("empty list, low draw") << 0.3f << 0 << 1;
        QTest::newRow("empty list, high draw") << 0.7f << 0 << 0;
    }
    void randomPositionsRoundHalvesToEven()
    {
        QFETCH(float, draw);
        QFETCH(int, rows);
        QTEST(int(randomDemoPosition(draw, std::int16_t(rows))), "position");
    }

    void onlyPositionsOfTheListNameARow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("failure");
        QTest::newRow("first") << 1 << 3 << 0;
        QTest::newRow("last") << 3 << 3 << 0;
        QTest::newRow("past the last") << 4 << 3 << int(ErrorNumber::IndexOutOfBounds);
        QTest::newRow("zero") << 0 << 3 << int(ErrorNumber::IndexOutOfBounds);
        QTest::newRow("empty list") << 1 << 0 << int(ErrorNumber::IndexOutOfBounds);
    }
    void onlyPositionsOfTheListNameARow()
    {
        QFETCH(int, position);
        QFETCH(int, rows);
        QTEST(failureOf([&] { checkDemoPosition(std::int16_t(position), std::int16_t(rows)); }), "failure");
    }

    void aPreparedSlideIsDecodedOnce()
    {
        const QString path = vantelo::test::writePicture(m_dir.path(), "once.jpg", 80, 60, "JPEG");
        QVERIFY(!path.isEmpty());
        SlidePreparer preparer;
        std::atomic<int> decodes = 0;
        preparer.setDecoder([&decodes](const QString& file, const QSize& size) {
            ++decodes;
            return QImage(file).scaled(size);
        });
        preparer.prepare(path, QSize(40, 30));
        const QImage picture = preparer.take(path, QSize(40, 30));
        QCOMPARE(picture.size(), QSize(40, 30));
        QCOMPARE(decodes.load(), 1);
        // Taken once: the next take decodes again.
        preparer.take(path, QSize(40, 30));
        QCOMPARE(decodes.load(), 2);
    }

    void anotherSlideThanThePreparedOneIsDecodedNow()
    {
        const QString path = vantelo::test::writePicture(m_dir.path(), "other.jpg", 80, 60, "JPEG");
        SlidePreparer preparer;
        preparer.prepare(path, QSize(40, 30));
        QCOMPARE(preparer.take(path, QSize(20, 15)).size(), QSize(20, 15));
    }

    void aPictureDeletedAfterItsPreparationFailsAsMissing()
    {
        const QString path = vantelo::test::writePicture(m_dir.path(), "deleted.jpg", 80, 60, "JPEG");
        SlidePreparer preparer;
        preparer.prepare(path, QSize(40, 30));
        QVERIFY(QFile::remove(path));
        QCOMPARE(failureOf([&] { preparer.take(path, QSize(40, 30)); }), int(ErrorNumber::FileNotFound));
    }

    void aPictureReplacedAfterItsPreparationShowsAsItIsNow()
    {
        const QString path = vantelo::test::writePicture(m_dir.path(), "replaced.bmp", 8, 8, "BMP");
        SlidePreparer preparer;
        preparer.prepare(path, QSize(8, 8));
        QImage green(8, 8, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(QFile::remove(path));
        QVERIFY(green.save(path, "BMP"));
        QCOMPARE(preparer.take(path, QSize(8, 8)).pixelColor(1, 1), QColor(Qt::green));
    }
};

VANTELO_TEST_MAIN(TestDemoRules)
#include "tst_demorules.moc"
