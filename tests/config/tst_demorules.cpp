#include "ConfigTest.h"
#include "common/AppError.h"
#include "platform/SlidePreparer.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>

using namespace vantelo;
using vantelo::test::failureOf;

class TestDemoRules : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
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
