#include "common/AppError.h"
#include "slidelist/SlideListFile.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace vantelo;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// Reads path into rows; the failure number, or 0.
int readInto(const QString& path, SlideRows& rows)
{
    try {
        ReadSlideList(path, rows);
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

int writeFrom(const SlideRows& rows, const QString& path)
{
    try {
        WriteSlideList(rows, path);
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

const SlideRow Beach{QStringLiteral("C:\\Photos\\"), QStringLiteral("beach.jpg"), QStringLiteral("600 X 800"), {}};
const SlideRow Hill{QStringLiteral("C:\\Photos\\Trips\\"), QStringLiteral("hill.gif"), QStringLiteral("480 X 640"),
                    {}};

} // namespace

class TestSlideListFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void writesTheExactBytes()
    {
        QCOMPARE(writeFrom({Beach, Hill}, path(QStringLiteral("two.vtl"))), 0);
        QCOMPARE(readBytes(path(QStringLiteral("two.vtl"))),
                 QByteArray(" 2 \r\n"
                            "1 | C:\\Photos\\ | beach.jpg | 600 X 800 | \r\n"
                            "2 | C:\\Photos\\Trips\\ | hill.gif | 480 X 640 | \r\n"));
        QCOMPARE(writeFrom({Beach}, path(QStringLiteral("one.vtl"))), 0);
        QCOMPARE(readBytes(path(QStringLiteral("one.vtl"))),
                 QByteArray(" 1 \r\n1 | C:\\Photos\\ | beach.jpg | 600 X 800 | \r\n"));
    }

    void writeThenReadGivesTheSameRows()
    {
        const SlideRows rows{
            Beach,
            {QStringLiteral("/home/anna/My Pictures//"), QStringLiteral("  spaced name .jpg"), QString(), {}},
            {QStringLiteral("/tmp/ü/"), QStringLiteral("ß ☀.gif"), QStringLiteral("1 X 1"), QStringLiteral("a | b |")},
            {QStringLiteral("/x/"), QStringLiteral("c,d;e=f#g.bmp"), QStringLiteral("2 X 3"), QStringLiteral("  ")},
        };
        const QString file = path(QStringLiteral("awkward.vtl"));
        QCOMPARE(writeFrom(rows, file), 0);
        SlideRows back;
        QCOMPARE(readInto(file, back), 0);
        QCOMPARE(back, rows);
        QVERIFY(!readBytes(file).startsWith("\xEF\xBB\xBF"));
    }

    void readerEdgeCases_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QStringList>("fileNames"); // the rows read, by file name
        const QByteArray twoRows = "1 | /a/ | one.jpg | 1 X 1 | \r\n2 | /a/ | two.jpg | 1 X 1 | \r\n";
        QTest::newRow("count zero") << QByteArray(" 0 \r\n") + twoRows << 0 << QStringList{};
        QTest::newRow("empty count line") << QByteArray("\r\n") + twoRows << 0 << QStringList{};
        QTest::newRow("count without number") << QByteArray("rows\r\n") + twoRows << 0 << QStringList{};
        QTest::newRow("negative count") << QByteArray("-4\r\n") + twoRows << 0 << QStringList{};
        QTest::newRow("count below lines") << QByteArray(" 1 \r\n") + twoRows << 0 << QStringList{"one.jpg"};
        QTest::newRow("count 2.5 reads 2") << QByteArray("2.5\r\n") + twoRows << 0 << QStringList{"one.jpg", "two.jpg"};
        QTest::newRow("numbers ignored")
            << QByteArray(" 2 \r\n7 | /a/ | seven.jpg | 1 X 1 | \r\n3 | /a/ | three.jpg | 1 X 1 | \r\n") << 0
            << QStringList{"seven.jpg", "three.jpg"};
        QTest::newRow("LF line ends") << QByteArray(" 2\n1 | /a/ | one.jpg | s | \n2 | /a/ | two.jpg | s | ") << 0
                                      << QStringList{"one.jpg", "two.jpg"};
        QTest::newRow("CR line ends") << QByteArray(" 1\r1 | /a/ | one.jpg | s | \r") << 0 << QStringList{"one.jpg"};
        QTest::newRow("count past lines") << QByteArray(" 5 \r\n") + twoRows << int(ErrorNumber::InputPastEndOfFile)
                                          << QStringList{"one.jpg", "two.jpg"};
        QTest::newRow("count 3.5 reads 4") << QByteArray("3.5\r\n") + twoRows + twoRows.left(30)
                                           << int(ErrorNumber::InputPastEndOfFile)
                                           << QStringList{"one.jpg", "two.jpg", "one.jpg"};
        QTest::newRow("count 32767, two lines") << QByteArray(" 32767 \r\n") + twoRows
                                                << int(ErrorNumber::InputPastEndOfFile)
                                                << QStringList{"one.jpg", "two.jpg"};
        QTest::newRow("count beyond 16 bits") << QByteArray(" 32768 \r\n") + twoRows << int(ErrorNumber::Overflow)
                                              << QStringList{};
        QTest::newRow("empty file") << QByteArray() << int(ErrorNumber::InputPastEndOfFile) << QStringList{};
        QTest::newRow("three bars") << QByteArray(" 2 \r\n1 | /a/ | ok.jpg | s | \r\n2 | /a/ | bad.jpg | s\r\n")
                                    << int(ErrorNumber::InvalidProcedureCall) << QStringList{"ok.jpg"};
        QTest::newRow("no bars") << QByteArray(" 1 \r\njust text\r\n") << int(ErrorNumber::InvalidProcedureCall)
                                 << QStringList{};
        QTest::newRow("neighbouring bars") << QByteArray(" 1 \r\n1 || a | b | c\r\n")
                                           << int(ErrorNumber::InvalidProcedureCall) << QStringList{};
        QTest::newRow("bars two apart") << QByteArray(" 1 \r\n1 | | a | b | c\r\n")
                                        << int(ErrorNumber::InvalidProcedureCall) << QStringList{};
        QTest::newRow("line too long") << QByteArray(" 1 \r\n1 | /a/ | x.jpg | s | ") + QByteArray(40000, 'z')
                                       << int(ErrorNumber::Overflow) << QStringList{};
        QTest::newRow("NUL bytes") << QByteArray(" 1 \r\n1 | /a\0/ | x\0.jpg | s | \r\n", 32) << 0
                                   << QStringList{QString::fromUtf8("x\0.jpg", 6)};
        QTest::newRow("invalid UTF-8") << QByteArray(" 1 \r\n1 | /a/ | \xff\xfe.jpg | s | \r\n") << 0
                                       << QStringList{QStringLiteral("\uFFFD\uFFFD.jpg")};
    }
    void readerEdgeCases()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, failure);
        QFETCH(QStringList, fileNames);
        const QString file = path(QStringLiteral("edge.vtl"));
        writeBytes(file, bytes);
        SlideRows rows{Beach}; // the reader appends to what is there
        QCOMPARE(readInto(file, rows), failure);
        QStringList names;
        for (qsizetype i = 1; i < rows.size(); ++i)
            names << rows[i].fileName;
        QCOMPARE(names, fileNames);
        QCOMPARE(rows.first(), Beach);
    }

    void cuttingDropsOneCharacterBesideEachBar()
    {
        const SlideRow row = cutSlideRowLine(QStringLiteral("1|/dir/|name.jpg|10 X 20|spare"));
        QCOMPARE(row.folder, QStringLiteral("dir"));
        QCOMPARE(row.fileName, QStringLiteral("ame.jp"));
        QCOMPARE(row.sizeText, QStringLiteral("0 X 2"));
        QCOMPARE(row.spare, QStringLiteral("pare"));
        const SlideRow spaced = cutSlideRowLine(QStringLiteral("1 |  a  |  b  |  c  | "));
        QCOMPARE(spaced.folder, QStringLiteral(" a "));
        QCOMPARE(spaced.spare, QString());
    }

    void missingFilesAndFolders()
    {
        SlideRows rows;
        QCOMPARE(readInto(path(QStringLiteral("gone.vtl")), rows), int(ErrorNumber::FileNotFound));
        QCOMPARE(readInto(path(QStringLiteral("no/such/folder/x.vtl")), rows), int(ErrorNumber::PathNotFound));
        QCOMPARE(readInto(m_dir.path(), rows), int(ErrorNumber::PathFileAccessError));
        QCOMPARE(writeFrom({Beach}, path(QStringLiteral("no/such/folder/x.vtl"))), int(ErrorNumber::PathNotFound));
        QVERIFY(rows.isEmpty());
    }

    void moreThan32767RowsAreRefused()
    {
        const QString file = path(QStringLiteral("big.vtl"));
        SlideRows rows(MaxSlideRows + 1, Beach);
        QCOMPARE(writeFrom(rows, file), int(ErrorNumber::Overflow));
        QVERIFY(!QFile::exists(file));
        rows.removeLast();
        QCOMPARE(writeFrom(rows, file), 0);
        SlideRows back;
        QCOMPARE(readInto(file, back), 0);
        QCOMPARE(back.size(), MaxSlideRows);
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only file") << "read-only file";
        QTest::newRow("read-only folder") << "read-only folder";
        QTest::newRow("file-size limit") << "file-size limit";
        QTest::newRow("killed mid-save") << "killed mid-save";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("keep.vtl"));
        QCOMPARE(writeFrom({Beach, Hill}, file), 0);
        const QByteArray before = readBytes(file);

        if (how == QLatin1String("read-only file") || how == QLatin1String("read-only folder")) {
            if (::geteuid() == 0)
                QSKIP("root ignores permission bits; the file-size and kill rows cover this case");
            const QString target = how == QLatin1String("read-only file") ? file : dir.path();
            const auto permissions = QFile::permissions(target);
            QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QVERIFY(writeFrom({Hill}, file) != 0);
            QFile::setPermissions(target, permissions);
        } else {
            const QString prlimit = QStandardPaths::findExecutable(QStringLiteral("prlimit"));
            if (prlimit.isEmpty())
                QSKIP("prlimit (util-linux) is not installed");
            QProcess helper;
            if (how == QLatin1String("file-size limit"))
                helper.start(prlimit, {QStringLiteral("--fsize=200000"), QStringLiteral(SAVE_HELPER), file,
                                       QStringLiteral("2000")});
            else
                helper.start(QStringLiteral(SAVE_HELPER), {file, QStringLiteral("2000"),
                                                          QStringLiteral("kill-after-first-chunk")});
            QVERIFY(helper.waitForFinished(30000));
            if (how == QLatin1String("file-size limit")) {
                QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
                QCOMPARE(helper.exitCode(), 3); // the save reported its failure
                QVERIFY(helper.readAllStandardError().contains("Error: 61"));
            } else {
                QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
            }
        }
        QCOMPARE(readBytes(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.vtl")});
    }
};

VANTELO_TEST_MAIN(TestSlideListFile)
#include "tst_slidelistfile.moc"
