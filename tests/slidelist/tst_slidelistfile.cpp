#include "slidelist/SlideListFile.h"
#include "support/Failure.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace vantelo;
using vantelo::test::failureOf;

namespace {

const SlideRow Beach{"C:\\Photos\\", "beach.jpg", "600 X 800", ""};
const SlideRow Hill{"C:\\Photos\\Trips\\", "hill.gif", "480 X 640", ""};

} // namespace

class TestSlideListFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    // The bytes of a saved list, and the rows read back from them, whatever the fields hold.
    void writesTheExactBytesAndReadsThemBack()
    {
        const SlideRows rows{Beach, Hill, {"/home/anna/My Pictures//", "  spaced ☀.jpg", "", "a | b | "}};
        SlideRows back;
        QCOMPARE(failureOf([&] { WriteSlideList(rows, path("three.vtl")); }), 0);
        QCOMPARE(test::readBytes(path("three.vtl")),
                 " 3 \r\n1 | C:\\Photos\\ | beach.jpg | 600 X 800 | \r\n"
                 "2 | C:\\Photos\\Trips\\ | hill.gif | 480 X 640 | \r\n"
                 "3 | /home/anna/My Pictures// |   spaced \xE2\x98\x80.jpg |  | a | b | \r\n");
        QCOMPARE(failureOf([&] { ReadSlideList(path("three.vtl"), back); }), 0);
        QCOMPARE(back, rows);
    }

    void reader_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // written to the file unless null
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("rows"); // folder,name,size,spare;... of the rows appended
        const QByteArray two = "1 | /a/ | one.jpg | s | \r\n2 | /a/ | two.jpg | s | \r\n";
        const QString one = QStringLiteral("/a/,one.jpg,s,"), both = one + QStringLiteral(";/a/,two.jpg,s,");
        const QString edge = QStringLiteral("edge.vtl");
        // clang-format off
        QTest::newRow("empty count line") << edge << "\r\n" + two << 0 << "";
        QTest::newRow("count below lines") << edge << " 1 \r\n" + two << 0 << one;
        QTest::newRow("count 2.5 reads 2") << edge << "2.5\r\n" + two << 0 << both;
        QTest::newRow("numbers ignored") << edge << QByteArray(" 2 \r\n7 | /a/ | one.jpg | s | \r\n3 | /a/ | two.jpg | s | \r\n") << 0 << both;
        QTest::newRow("LF line ends, none at the end") << edge << QByteArray(" 2\n1 | /a/ | one.jpg | s | \n2 | /a/ | two.jpg | s | ") << 0 << both;
        QTest::newRow("CR line ends") << edge << QByteArray(" 1\r1 | /a/ | one.jpg | s | \r") << 0 << one;
        QTest::newRow("one character beside each bar") << edge << QByteArray(" 2\r\n1|/dir/|name.jpg|10 X 20|spare\r\n1 |  a  |  b  |  c  | \r\n") << 0 << "dir,ame.jp,0 X 2,pare; a , b , c ,";
        QTest::newRow("count past lines") << edge << " 5 \r\n" + two << 62 << both;
        QTest::newRow("count 3.5 reads 4") << edge << "3.5\r\n" + two + two.left(26) << 62 << both + ';' + one;
        QTest::newRow("count beyond 16 bits") << edge << " 32768 \r\n" + two << 6 << "";
        QTest::newRow("empty file") << edge << QByteArray("") << 62 << "";
        QTest::newRow("three bars") << edge << QByteArray(" 2 \r\n1 | /a/ | one.jpg | s | \r\n2 | /a/ | bad.jpg | s\r\n") << 5 << one;
        QTest::newRow("line too long") << edge << " 1 \r\n1 | /a/ | x.jpg | s | " + QByteArray(40000, 'z') << 6 << "";
        QTest::newRow("missing file") << "gone.vtl" << QByteArray() << 53 << "";
        QTest::newRow("missing folder") << "no/such/folder/x.vtl" << QByteArray() << 76 << "";
        QTest::newRow("a folder") << "." << QByteArray() << 75 << "";
        // clang-format on
    }
    void reader()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QVERIFY(bytes.isNull() || !test::writeBytes(m_dir.path(), file, bytes).isEmpty());
        SlideRows rows{Beach}; // the reader appends to what is there
        QTEST(failureOf([&] { ReadSlideList(m_dir.filePath(file), rows); }), "failure");
        QCOMPARE(rows.takeFirst(), Beach);
        QStringList texts;
        for (const SlideRow& row : rows)
            texts << QStringList{row.folder, row.fileName, row.sizeText, row.spare}.join(u',');
        QTEST(texts.join(u';'), "rows");
    }

    void atMost32767Rows()
    {
        SlideRows rows(32767, Beach), back;
        QCOMPARE(failureOf([&] { WriteSlideList(rows + SlideRows{Hill}, path("big.vtl")); }), 6);
        QVERIFY(!QFile::exists(path("big.vtl")));
        QCOMPARE(failureOf([&] { WriteSlideList(rows, path("big.vtl")), ReadSlideList(path("big.vtl"), back); }), 0);
        QCOMPARE(back, rows);
    }

    // A save that fails on the way, here when the file grows past the size this process may write, leaves
    // the old file as it was and nothing beside it. (A save killed midway leaves nothing either: the new
    // content goes to an unnamed file that only the save's last step links in place.)
    void failedSaveKeepsTheOldFile()
    {
        const QString file = test::writeBytes(path("keep"), QStringLiteral("list.vtl"), "the old list");
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{200000, limit.rlim_max};
        const auto handler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const int failure = failureOf([&] {
            WriteSlideList(SlideRows(2000, {"/a/", "p.jpg", "s", QString(999, u's')}), file);
        });
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(failure, 61);
        QCOMPARE(test::readBytes(file), "the old list");
        QCOMPARE(QDir(path("keep")).entryList(QDir::Files | QDir::Hidden), QStringList{"list.vtl"});
    }
};

VANTELO_TEST_MAIN(TestSlideListFile)
#include "tst_slidelistfile.moc"
