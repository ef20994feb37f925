#include "HostilePictures.h"
#include "common/AppError.h"
#include "platform/PictureFile.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vantelo;
using namespace vantelo::test;

namespace {

// The preview box of the default picture, and a show on a common desktop.
const QSize PreviewSize(125, 145);
const QSize ShowSize(1440, 1080);

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

class TestHostilePictures : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString save(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    void endsInAReportOrAPicture_data()
    {
        QTest::addColumn<int>("index");
        const QList<HostilePicture> pictures = hostilePictures();
        for (int i = 0; i < pictures.size(); ++i)
            QTest::newRow(qPrintable(pictures[i].tag)) << i;
    }
    void endsInAReportOrAPicture()
    {
        QFETCH(int, index);
        const HostilePicture picture = hostilePictures().at(index);
        const QString path = save(picture.fileName, picture.make());

        QSize measured;
        const int measureFailure = failureOf([&] { measured = measurePicture(path); });
        QImage preview;
        QImage show;
        const int previewFailure = failureOf([&] { preview = decodePicture(path, PreviewSize); });
        const int showFailure = failureOf([&] { show = decodePicture(path, ShowSize); });

        if (picture.outcome == Outcome::Refused) {
            QCOMPARE(measureFailure, int(ErrorNumber::InvalidPicture));
            QCOMPARE(previewFailure, int(ErrorNumber::InvalidPicture));
            QCOMPARE(showFailure, int(ErrorNumber::InvalidPicture));
        } else {
            QCOMPARE(measureFailure, 0);
            QCOMPARE(measured, picture.measured);
            QCOMPARE(previewFailure, 0);
            QCOMPARE(preview.size(), PreviewSize);
            QCOMPARE(showFailure, 0);
            QCOMPARE(show.size(), ShowSize);
        }
    }

    // The size asked for is an allocation too: a show asked to stretch a sliver of a picture to
    // the screen's height could ask for a picture wider than memory.
    void refusesADisplaySizeBeyondTheAllocationLimit()
    {
        const QString path =
            save(QStringLiteral("small.jpg"), encodeJpeg(patternImage(QSize(40, 30), QImage::Format_RGB32), false));
        QCOMPARE(failureOf([&] { decodePicture(path, QSize(9000, 8000)); }), int(ErrorNumber::InvalidPicture));
        QCOMPARE(failureOf([&] { decodePicture(path, QSize(2, 40000000)); }), int(ErrorNumber::InvalidPicture));
        QCOMPARE(failureOf([&] { decodePicture(path, QSize(400, 300)); }), 0);
    }

    // Without a size, the picture decodes at its own, which must fit the limit as well.
    void refusesAFullDecodeBeyondTheAllocationLimit()
    {
        const QString path = save(QStringLiteral("hollow-big.jpg"), hollowJpeg(QSize(16000, 16000), false, 3, 0x22, 1));
        QCOMPARE(failureOf([&] { measurePicture(path); }), 0);
        QCOMPARE(failureOf([&] { decodePicture(path); }), int(ErrorNumber::InvalidPicture));
    }
};

VANTELO_TEST_MAIN(TestHostilePictures)
#include "tst_hostilepictures.moc"
