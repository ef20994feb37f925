#include "slidelist/SlideListFile.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace vantelo;
using vantelo::test::failureOf;

namespace {

const SlideRow Beach{QStringLiteral("C:\\Photos\\"), QStringLiteral("beach.jpg"), QStringLiteral("600 X 800"), {}};
const SlideRow Hill{QStringLiteral("C:\\Photos\\Trips\\"), QStringLiteral("hill.gif"), QStringLiteral("480 X 640"), {}};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestSlideListFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void writesTheExactBytes()
    {
        QCOMPARE(failureOf([&] { WriteSlideList({Beach, Hill}, path("two.vtl")); }), 0);
        QCOMPARE(bytesOf(path("two.vtl")), " 2 \r\n1 | C:\\Photos\\ | beach.jpg | 600 X 800 | \r\n"
                                           "2 | C:\\Photos\\Trips\\ | hill.gif | 480 X 640 | \r\n");
        QCOMPARE(failureOf([&] { WriteSlideList({Hill}, path("two.vtl")); }), 0); // replaced whole
        QCOMPARE(bytesOf(path("two.vtl")), " 1 \r\n1 | C:\\Photos\\Trips\\ | hill.gif | 480 X 640 | \r\n");
    }

    void writeThenReadGivesTheSameRows()
    {
        const SlideRows rows{
            Beach,
            {QStringLiteral("/home/anna/My Pictures//"), QStringLiteral("  spaced name .jpg"), QString(), {}},
            {QStringLiteral("/tmp/ü/"), QStringLiteral("ß ☀.gif"), QStringLiteral("1 X 1"), QStringLiteral("a | b |")},
            {QStringLiteral("/x/"), QStringLiteral("c,d;e=f#g.bmp"), QStringLiteral("2 X 3"), QStringLiteral("  ")},
        };
        SlideRows back;
        QCOMPARE(failureOf([&] { WriteSlideList(rows, path("awkward.vtl")); }), 0);
        QCOMPARE(failureOf([&] { ReadSlideList(path("awkward.vtl"), back); }), 0);
        QCOMPARE(back, rows);
        QVERIFY(bytesOf(path("awkward.vtl")).startsWith(" 4 \r\n1 | C:")); // no byte-order mark
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("rows"); // folder,name,size,spare;... of the rows appended
        const QByteArray two = "1 | /a/ | one.jpg | s | \r\n2 | /a/ | two.jpg | s | \r\n";
        const QString one = QStringLiteral("/a/,one.jpg,s,"), both = one + QStringLiteral(";/a/,two.jpg,s,");
        // clang-format off
        QTest::newRow("count zero") << " 0 \r\n" + two << 0 << "";
        QTest::newRow("empty count line") << "\r\n" + two << 0 << "";
        QTest::newRow("count without number") << "rows\r\n" + two << 0 << "";
        QTest::newRow("negative count") << "-4\r\n" + two << 0 << "";
        QTest::newRow("count below lines") << " 1 \r\n" + two << 0 << one;
        QTest::newRow("count 2.5 reads 2") << "2.5\r\n" + two << 0 << both;
        QTest::newRow("numbers ignored") << QByteArray(" 2 \r\n7 | /a/ | one.jpg | s | \r\n3 | /a/ | two.jpg | s | \r\n") << 0 << both;
        QTest::newRow("LF line ends, none at the end") << QByteArray(" 2\n1 | /a/ | one.jpg | s | \n2 | /a/ | two.jpg | s | ") << 0 << both;
        QTest::newRow("CR line ends") << QByteArray(" 1\r1 | /a/ | one.jpg | s | \r") << 0 << one;
        QTest::newRow("one character beside each bar") << QByteArray(" 2\r\n1|/dir/|name.jpg|10 X 20|spare\r\n1 |  a  |  b  |  c  | \r\n") << 0 << "dir,ame.jp,0 X 2,pare; a , b , c ,";
        QTest::newRow("NUL bytes") << QByteArray(" 1 \r\n1 | /a\0/ | x\0.jpg | s | \r\n", 32) << 0 << QString::fromUtf8("/a\0/,x\0.jpg,s,", 14);
        QTest::newRow("invalid UTF-8") << QByteArray(" 1 \r\n1 | /a/ | \xff\xfe.jpg | s | \r\n") << 0 << "/a/,\uFFFD\uFFFD.jpg,s,";
        QTest::newRow("count past lines") << " 5 \r\n" + two << 62 << both;
        QTest::newRow("count 3.5 reads 4") << "3.5\r\n" + two + two.left(26) << 62 << both + ';' + one;
        QTest::newRow("count 32767, two lines") << " 32767 \r\n" + two << 62 << both;
        QTest::newRow("count beyond 16 bits") << " 32768 \r\n" + two << 6 << "";
        QTest::newRow("empty file") << QByteArray() << 62 << "";
        QTest::newRow("three bars") << QByteArray(" 2 \r\n1 | /a/ | one.jpg | s | \r\n2 | /a/ | bad.jpg | s\r\n") << 5 << one;
        QTest::newRow("no bars") << QByteArray(" 1 \r\njust text\r\n") << 5 << "";
        QTest::newRow("neighbouring bars") << QByteArray(" 1 \r\n1 || a | b | c\r\n") << 5 << "";
        QTest::newRow("bars two apart") << QByteArray(" 1 \r\n1 | | a | b | c\r\n") << 5 << "";
        QTest::newRow("line too long") << " 1 \r\n1 | /a/ | x.jpg | s | " + QByteArray(40000, 'z') << 6 << "";
        // clang-format on
    }
    void reader()
    {
        QFETCH(QByteArray, bytes);
        QFile file(path("edge.vtl"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        file.close();
        SlideRows rows{Beach}; // the reader appends to what is there
        QTEST(failureOf([&] { ReadSlideList(file.fileName(), rows); }), "failure");
        QCOMPARE(rows.takeFirst(), Beach);
        QStringList texts;
        for (const SlideRow& row : rows)
            texts << QStringList{row.folder, row.fileName, row.sizeText, row.spare}.join(u',');
        QTEST(texts.join(u';'), "rows");
    }

    void missingFilesAndFolders()
    {
        SlideRows rows;
        QCOMPARE(failureOf([&] { ReadSlideList(path("gone.vtl"), rows); }), 53);
        QCOMPARE(failureOf([&] { ReadSlideList(path("no/such/folder/x.vtl"), rows); }), 76);
        QCOMPARE(failureOf([&] { ReadSlideList(m_dir.path(), rows); }), 75);
        QCOMPARE(failureOf([&] { WriteSlideList({Beach}, path("no/such/folder/x.vtl")); }), 76);
        QVERIFY(rows.isEmpty());
    }

    void atMost32767Rows()
    {
        SlideRows rows(32768, Beach);
        QCOMPARE(failureOf([&] { WriteSlideList(rows, path("big.vtl")); }), 6);
        QVERIFY(!QFile::exists(path("big.vtl")));
        rows.removeLast();
        SlideRows back;
        QCOMPARE(failureOf([&] { WriteSlideList(rows, path("big.vtl")); }), 0);
        QCOMPARE(failureOf([&] { ReadSlideList(path("big.vtl"), back); }), 0);
        QCOMPARE(back.size(), 32767);
    }

    // A save that fails or dies on the way leaves the old file as it was, and nothing beside it. (As
    // root, read-only files and folders fail no save; a file-size limit does.)
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QStringList>("how");
        QTest::addColumn<QString>("end");
        QTest::newRow("disk full") << QStringList{}
                                   << "exit 3: Error: 61 has occurred in Project1 error was Disk full\n";
        QTest::newRow("killed mid-save") << QStringList{QStringLiteral("die")} << "killed: ";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QStringList, how);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("keep.vtl"));
        WriteSlideList({Beach, Hill}, file);
        const QByteArray before = bytesOf(file);
        QProcess helper;
        helper.start(QStringLiteral("prlimit"),
                     QStringList{QStringLiteral("--fsize=200000"), QStringLiteral(SAVE_HELPER), file, "2000"} + how);
        QVERIFY(helper.waitForFinished(30000));
        const bool killed = helper.exitStatus() == QProcess::CrashExit;
        QTEST((killed ? "killed: " : "exit " + QString::number(helper.exitCode()) + ": ") +
                  helper.readAllStandardError(),
              "end");
        QCOMPARE(bytesOf(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.vtl")});
    }
};

VANTELO_TEST_MAIN(TestSlideListFile)
#include "tst_slidelistfile.moc"
