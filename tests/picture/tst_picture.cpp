#include "picture/JpegLayout.h"
#include "picture/PictureFile.h"
#include "support/Failure.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QLoggingCategory>
#include <QTemporaryDir>

using namespace vantelo;

namespace {

const QDir Corpus(QStringLiteral(CORPUS));

// "W x H" of what f returns, or the failure number.
QString outcome(const std::function<QSize()>& f)
{
    QSize size;
    const int failure = test::failureOf([&] { size = f(); });
    return failure ? QString::number(failure) : QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString summary(const JpegLayout& l)
{
    return QString::asprintf("%dx%d%s%s scans %d blocks %lld bytes %lld", l.width, l.height,
                             l.progressive ? " progressive" : "", l.wholeImageBuffer ? " whole" : "", l.scans,
                             qint64(l.scanBlocks), qint64(l.coefficientBytes));
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false")); }

    // Each file's name holds its fate: "shown-WxH-..." measures W x H upright and decodes to whatever
    // size is asked; "refused-..." is refused (481) whether measured or decoded. A shown file named
    // "...-top-left-RRGGBB" has that colour in its top-left pixel, as ImageMagick shows it.
    void corpusFilesEndAsTheirNamesSay_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : Corpus.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << name;
    }
    void corpusFilesEndAsTheirNamesSay()
    {
        QFETCH(QString, name);
        const QString path = Corpus.filePath(name);
        const bool shown = name.startsWith(QLatin1String("shown-"));
        QVERIFY(shown || name.startsWith(QLatin1String("refused-")));
        QCOMPARE(outcome([&] { return measurePicture(path); }), shown ? name.section(u'-', 1, 1) : "481");
        QCOMPARE(outcome([&] { return decodePicture(path, QSize(125, 145)).size(); }), shown ? "125x145" : "481");
        QCOMPARE(outcome([&] { return decodePicture(path, QSize(1440, 1080)).size(); }), shown ? "1440x1080" : "481");
        const qsizetype colour = name.indexOf(QLatin1String("-top-left-"));
        if (colour >= 0)
            QCOMPARE(decodePicture(path).pixelColor(0, 0).name(), u'#' + name.mid(colour + 10, 6));
    }

    void decoding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("asked"); // invalid: the picture's own size
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("turned upright") << "shown-12x16-turned-exif.jpg" << QSize() << "12x16";
        QTest::newRow("own size beyond 256 MB") << "shown-16000x16000-hollow-baseline.jpg" << QSize() << "481";
        QTest::newRow("asked size beyond 256 MB") << "shown-16x12-baseline.jpg" << QSize(9000, 8000) << "481";
        QTest::newRow("a sliver asked tall") << "shown-16x12-baseline.jpg" << QSize(2, 40000000) << "481";
        QTest::newRow("missing file") << "no-such.jpg" << QSize(4, 4) << "53";
        // clang-format on
    }
    void decoding()
    {
        QFETCH(QString, name);
        QFETCH(QSize, asked);
        QTEST(outcome([&] { return decodePicture(Corpus.filePath(name), asked).size(); }), "expected");
    }

    // A file rewritten between being measured and being decoded is judged again, not trusted.
    void fileRewrittenAfterMeasuring_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("same size") << "shown-16x12-subsampled.jpg" << "8x6";
        QTest::newRow("other size") << "shown-12x16-turned-exif.jpg" << "481";
        QTest::newRow("too many scans") << "refused-5000-empty-scans.jpg" << "481";
        // clang-format on
    }
    void fileRewrittenAfterMeasuring()
    {
        QFETCH(QString, replacement);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.jpg"));
        QVERIFY(QFile::copy(Corpus.filePath(QStringLiteral("shown-16x12-baseline.jpg")), path));
        PictureFile picture(path);
        const QByteArray rewritten = test::readBytes(Corpus.filePath(replacement));
        QVERIFY(!test::writeBytes(dir.path(), QStringLiteral("picture.jpg"), rewritten).isEmpty());
        QTEST(outcome([&] { return picture.decode(QSize(8, 6)).size(); }), "expected");
    }

    void jpegLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString scans = QStringLiteral("1000x1000 progressive whole scans 200 blocks 3125000 bytes 2000000");
        // clang-format off
        // 1000 x 1000 grey: one DC scan and 199 AC scans over the same 125 x 125 blocks of 128 bytes.
        QTest::newRow("progressive") << "shown-1000x1000-200-scans-within-the-block-budget.jpg" << scans;
        QTest::newRow("markers inside coded data") << "shown-1000x1000-markers-inside-coded-data.jpg" << scans;
        // 8000 x 6000 at 4:2:0: 1000 x 750 luma blocks and 500 x 375 for each chroma; nine AC scans of luma.
        QTest::newRow("4:2:0") << "shown-8000x6000-progressive-420-within-coefficient-memory.jpg" << "8000x6000 progressive whole scans 10 blocks 7875000 bytes 144000000";
        QTest::newRow("counting stops past 256") << "refused-5000-empty-scans.jpg" << "2000x2000 progressive whole scans 257 blocks 16093750 bytes 12000000";
        QTest::newRow("one scan per component") << "shown-16x12-sequential-three-scans.jpg" << "16x12 whole scans 3 blocks 6 bytes 768";
        // clang-format on
    }
    void jpegLayout()
    {
        QFETCH(QString, name);
        QFile file(Corpus.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTEST(summary(readJpegLayout(file, 256)), "expected");
    }
};

VANTELO_TEST_MAIN(TestPicture)
#include "tst_picture.moc"
