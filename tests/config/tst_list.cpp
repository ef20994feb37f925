#include "ConfigTest.h"
#include "common/AppError.h"
#include "config/BrowserLists.h"
#include "platform/ImageBox.h"
#include "config/PreviewFitting.h"
#include "config/SlideListView.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <csignal>
#include <sys/resource.h>

using namespace vantelo;
using vantelo::test::FakePlatform;

namespace {

const QString Caption = QStringLiteral("Personal Vantelo Creator");
const QString ListFilter = QStringLiteral("Vantelo Files (*.vtl)");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

QStringList namesOf(const SlideRows& rows)
{
    QStringList names;
    for (const SlideRow& row : rows)
        names << row.fileName;
    return names;
}

// A row as a double-click delivers it: a click, then the second press as a double-click.
void doubleClick(QAbstractItemView* view, const QRect& entry)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, entry.center());
}

// Saving with a file-size limit in force, so the disk refuses the new file partway.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestConfigList : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pictures;
    QTemporaryDir m_lists;

    QString folderText() const { return m_pictures.path() + u'/'; }
    QString listPath(const QString& name) const { return m_lists.filePath(name); }
    SlideRow measuredRow(const QString& name, const QString& size) const { return {folderText(), name, size, {}}; }

    // A loaded window browsing the pictures folder, whose file list reads
    // 0 a.jpg, 1 b.jpg, 2 bnotes.jpg (no picture), 3 c.jpg, 4 d.jpg, 5 e.jpg, 6 landscape.jpg.
    void open(Vantelo& window)
    {
        window.Form_Load();
        window.DirList->setPath(m_pictures.path());
    }

    void select(Vantelo& window, const QList<int>& entries)
    {
        window.FileList->clearSelection();
        for (int entry : entries)
            window.FileList->item(entry)->setSelected(true);
    }

    void selectRows(Vantelo& window, const QList<int>& rows)
    {
        window.lvwMain->clearSelection();
        for (int row : rows)
            window.lvwMain->topLevelItem(row)->setSelected(true);
    }

    SlideRows fourRows() const
    {
        return {measuredRow("a.jpg", "48 X 64"), measuredRow("b.jpg", "40 X 30"), measuredRow("c.jpg", "10 X 20"),
                measuredRow("d.jpg", "16 X 16")};
    }

    // A window whose list was saved to old.vtl (label, setting and dialog name all name it), then
    // changed. Returns the saved bytes.
    QByteArray saveThenChange(FakePlatform& fp, Vantelo& window)
    {
        appendSlideRows(*window.lvwMain, fourRows().mid(0, 2));
        fp.dialogs.saveAnswers.enqueue(listPath("old.vtl"));
        window.cmdSave_Click();
        appendSlideRows(*window.lvwMain, fourRows().mid(2));
        fp.dialogs.calls.clear();
        return readBytes(listPath("old.vtl"));
    }

    void checkNothingChangedSince(FakePlatform& fp, Vantelo& window, const QByteArray& savedBytes)
    {
        QCOMPARE(readBytes(listPath("old.vtl")), savedBytes);
        QCOMPARE(window.lblFileName->text(), listPath("old.vtl"));
        QCOMPARE(GetSetting(SettingKey::File), listPath("old.vtl"));
        QCOMPARE(slideRowsOf(*window.lvwMain), fourRows());
        QCOMPARE(fp.program.endCalls, 0);
    }

private slots:
    void initTestCase()
    {
        using vantelo::test::writePicture;
        const QString folder = m_pictures.path();
        QVERIFY(!writePicture(folder, "a.jpg", 64, 48, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "b.jpg", 30, 40, "JPEG").isEmpty());
        QVERIFY(!vantelo::test::writeBytes(folder, "bnotes.jpg", "a shopping list\n").isEmpty());
        QVERIFY(!writePicture(folder, "c.jpg", 20, 10, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "d.jpg", 16, 16, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "e.jpg", 8, 6, "JPEG").isEmpty());
        QVERIFY(!writePicture(folder, "landscape.jpg", 800, 600, "JPEG").isEmpty());
    }
    void init()
    {
        QFile::remove(settingsFilePath());
        for (const QString& name : QDir(m_lists.path()).entryList(QDir::Files))
            QFile::remove(m_lists.filePath(name));
    }

    // ---- editing ----

    void addingOneFileTwiceGivesTwoRows()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        window.FileList->setCurrentRow(0);
        window.cmdPicture[0]->click();
        window.cmdPicture[0]->click();
        QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
        const SlideRow a = measuredRow("a.jpg", "48 X 64");
        QCOMPARE(slideRowsOf(*window.lvwMain), (SlideRows{a, a}));
        QCOMPARE(window.strPicPath, m_pictures.filePath("a.jpg"));
        // Adding leaves the preview's picture, the status bar and the list file label alone.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(window.stbVantelo->panelText(2).isEmpty());
    }

    void addingAllSelectedFilesKeepsTheirOrder_data()
    {
        QTest::addColumn<QList<int>>("entries");
        QTest::addColumn<SlideRows>("rows");
        QTest::newRow("entries 1, 3, 4") << QList<int>{4, 1, 3}
                                         << SlideRows{measuredRow("b.jpg", "40 X 30"), measuredRow("c.jpg", "10 X 20"),
                                                      measuredRow("d.jpg", "16 X 16")};
        QTest::newRow("none selected") << QList<int>{} << SlideRows{};
    }
    void addingAllSelectedFilesKeepsTheirOrder()
    {
        QFETCH(QList<int>, entries);
        QFETCH(SlideRows, rows);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        select(window, entries);
        window.cmdPicture[2]->click();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(slideRowsOf(*window.lvwMain), rows);
    }

    void aFileThatCannotBeMeasuredStaysUnmeasuredAndEndsTheAdd_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<int>>("entries");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("report");
        const QString invalid = QStringLiteral("Error: 481 has occurred in Project1 error was Invalid picture");
        QTest::newRow("single, no picture") << 0 << QList<int>{2} << QStringList{"bnotes.jpg"} << invalid;
        QTest::newRow("all, no picture in the middle")
            << 2 << QList<int>{0, 2, 3} << QStringList{"a.jpg", "bnotes.jpg"} << invalid;
        QTest::newRow("all, file gone since listed")
            << 2 << QList<int>{1, 7} << QStringList{"b.jpg", "gone.jpg"}
            << QStringLiteral("Error: 53 has occurred in Project1 error was File not found");
    }
    void aFileThatCannotBeMeasuredStaysUnmeasuredAndEndsTheAdd()
    {
        QFETCH(int, button);
        QFETCH(QList<int>, entries);
        QFETCH(QStringList, names);
        QFETCH(QString, report);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        window.FileList->addItem(QStringLiteral("gone.jpg"));
        select(window, entries);
        window.FileList->setCurrentRow(entries.first(), QItemSelectionModel::NoUpdate);
        window.cmdPicture_Click(button);

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().icon, MessageIcon::None);
        QCOMPARE(fp.prompter.messages.first().title, Caption);
        QCOMPARE(fp.prompter.messages.first().text, report);
        const SlideRows rows = slideRowsOf(*window.lvwMain);
        QCOMPARE(namesOf(rows), names);
        QCOMPARE(rows.last(), SlideRow({folderText(), names.last(), QString(), QString()}));
        QCOMPARE(window.strPicPath, m_pictures.filePath(names.last()));
    }

    void aRootFolderGivesTwoSeparators()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(QStringLiteral("/"));
        window.FileList->addItem(QStringLiteral("tmp"));
        window.FileList->setCurrentRow(window.FileList->count() - 1);
        window.cmdPicture_Click(0);
        const SlideRows rows = slideRowsOf(*window.lvwMain);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().folder, QStringLiteral("//"));
        QCOMPARE(window.strPicPath, QStringLiteral("//tmp"));
        QVERIFY(QFileInfo(rows.first().fullPath()).isDir()); // still names the entry
    }

    void removingAllSelectedRowsKeepsTheOthersInOrder_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("rows 2 and 3") << QList<int>{1, 2} << QStringList{"a.jpg", "d.jpg"};
        QTest::newRow("all rows") << QList<int>{0, 1, 2, 3} << QStringList{};
        QTest::newRow("first and last") << QList<int>{3, 0} << QStringList{"b.jpg", "c.jpg"};
        QTest::newRow("every other row") << QList<int>{0, 2} << QStringList{"b.jpg", "d.jpg"};
    }
    void removingAllSelectedRowsKeepsTheOthersInOrder()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, left);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        appendSlideRows(*window.lvwMain, fourRows());
        selectRows(window, selected);
        window.cmdPicture[3]->click();
        QVERIFY(fp.prompter.messages.isEmpty());
        QCOMPARE(namesOf(slideRowsOf(*window.lvwMain)), left);
    }

    void removingTheSelectedRowTakesOnlyThatRow()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        appendSlideRows(*window.lvwMain, fourRows());
        window.lvwMain->setCurrentItem(window.lvwMain->topLevelItem(2));
        window.cmdPicture[1]->click();
        QCOMPARE(namesOf(slideRowsOf(*window.lvwMain)), (QStringList{"a.jpg", "b.jpg", "d.jpg"}));
        // With several rows selected, the current one goes when it is among them.
        selectRows(window, {0, 1});
        window.lvwMain->setCurrentItem(window.lvwMain->topLevelItem(1), 0, QItemSelectionModel::NoUpdate);
        window.cmdPicture_Click(1);
        QCOMPARE(namesOf(slideRowsOf(*window.lvwMain)), (QStringList{"a.jpg", "d.jpg"}));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void nothingToDoIsSaid_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("command"); // the cmdPicture index, or 4 for "Save List"
        QTest::addColumn<QString>("text");
        const QString noRows = QStringLiteral("No Images in the list to be removed");
        QTest::newRow("---> with no current file") << 4 << 0 << QStringLiteral("No Items are Selected");
        QTest::newRow("<--- on an empty list") << 0 << 1 << noRows;
        QTest::newRow("<=== on an empty list") << 0 << 3 << noRows;
        QTest::newRow("<--- with no row selected") << 4 << 1 << noRows;
        QTest::newRow("<=== with no row selected") << 4 << 3 << noRows;
        QTest::newRow("Save List on an empty list") << 0 << 4 << QStringLiteral("No Items in the List.");
    }
    void nothingToDoIsSaid()
    {
        QFETCH(int, rows);
        QFETCH(int, command);
        QFETCH(QString, text);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        window.FileList->setCurrentRow(-1);
        appendSlideRows(*window.lvwMain, fourRows().mid(0, rows));
        if (command == 4)
            window.cmdSave->click();
        else
            window.cmdPicture[size_t(command)]->click();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().icon, MessageIcon::Exclamation);
        QCOMPARE(fp.prompter.messages.first().title, Caption);
        QCOMPARE(fp.prompter.messages.first().text, text);
        QCOMPARE(window.lvwMain->topLevelItemCount(), rows);
        QVERIFY(fp.dialogs.calls.isEmpty());
        QVERIFY(GetSetting(SettingKey::File).isNull());
    }

    void doubleClicksAddAFileAndRemoveARow()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        QListWidgetItem* entry = window.FileList->item(1);
        doubleClick(window.FileList, window.FileList->visualItemRect(entry));
        // The first press previewed the file; the double-click added it.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("b.jpg"));
        QCOMPARE(slideRowsOf(*window.lvwMain), (SlideRows{measuredRow("b.jpg", "40 X 30")}));

        window.lvwMain->clear();
        appendSlideRows(*window.lvwMain, fourRows());
        doubleClick(window.lvwMain, window.lvwMain->visualItemRect(window.lvwMain->topLevelItem(1)));
        QCOMPARE(namesOf(slideRowsOf(*window.lvwMain)), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
        QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
    }

    void clickingARowShowsItFromItsStoredSize_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("storedSize");
        QTest::addColumn<int>("failure");
        // landscape.jpg is really 600 X 800; the stored text rules.
        QTest::newRow("stored size differs") << "landscape.jpg"
                                             << "300 X 100" << 0;
        QTest::newRow("picture gone") << "gone.jpg"
                                      << "10 X 10" << int(ErrorNumber::FileNotFound);
        QTest::newRow("no picture") << "bnotes.jpg"
                                    << "10 X 10" << int(ErrorNumber::InvalidPicture);
        QTest::newRow("size text unusable") << "landscape.jpg"
                                            << "" << int(ErrorNumber::DivisionByZero);
    }
    void clickingARowShowsItFromItsStoredSize()
    {
        QFETCH(QString, file);
        QFETCH(QString, storedSize);
        QFETCH(int, failure);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        window.strPicPath = QStringLiteral("before");
        appendSlideRows(*window.lvwMain, {measuredRow("a.jpg", "48 X 64"), measuredRow(file, storedSize)});
        QTreeWidgetItem* row = window.lvwMain->topLevelItem(1);
        QTest::mouseClick(window.lvwMain->viewport(), Qt::LeftButton, {}, window.lvwMain->visualItemRect(row).center());

        QCOMPARE(window.strPicSize, storedSize);
        QVERIFY(window.stbVantelo->panelText(3).isEmpty());
        if (failure == 0) {
            QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
            QCOMPARE(window.imgPreview->box(), fitPreviewBox(storedSize));
            QCOMPARE(window.imgPreview->picture().size(), previewDecodeSize(storedSize));
            QVERIFY(!window.imgPreview->isHidden());
            QCOMPARE(window.lblPicName->text(), file);
            QCOMPARE(window.strPicPath, m_pictures.filePath(file));
            return;
        }
        QCOMPARE(fp.prompter.messages.size(), 1);
        QVERIFY(fp.prompter.messages.first().text.startsWith(QStringLiteral("Error: %1 ").arg(failure)));
        // The steps before the failure stay done; the preview stays hidden under its old caption.
        QVERIFY(window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QCOMPARE(window.strPicPath,
                 failure == ErrorNumber::DivisionByZero ? QStringLiteral("before") : m_pictures.filePath(file));
    }

    // ---- saving and loading ----

    void savingTwoAddedPicturesWritesTheseBytes()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        select(window, {0, 1});
        window.cmdPicture_Click(2);
        const QString path = listPath("two.vtl");
        fp.dialogs.saveAnswers.enqueue(path);
        window.cmdSave->click();

        QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
        QCOMPARE(fp.dialogs.calls.size(), 1);
        QCOMPARE(fp.dialogs.calls.first().kind, QStringLiteral("save"));
        QCOMPARE(fp.dialogs.calls.first().filter, ListFilter);
        QCOMPARE(fp.dialogs.calls.first().initialName, QString());
        const QByteArray folder = folderText().toUtf8();
        QCOMPARE(readBytes(path), QByteArray(" 2 \r\n1 | " + folder + " | a.jpg | 48 X 64 | \r\n2 | " + folder +
                                             " | b.jpg | 40 X 30 | \r\n"));
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
    }

    void savingThenLoadingGivesTheSameRows()
    {
        const SlideRows awkward{
            measuredRow("a.jpg", "48 X 64"),
            {QStringLiteral("/home/ann/My Pictures//"), QStringLiteral("  spaced name .jpg"), QString(), QString()},
            {QStringLiteral("/tmp/ü/"), QStringLiteral("ß ☀.gif"), QStringLiteral("1 X 1"), QStringLiteral("a | b |")},
            {QStringLiteral("/x/"), QStringLiteral("c,d;e=f#g.bmp"), QStringLiteral("2 X 3"), QStringLiteral("  ")},
        };
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        appendSlideRows(*window.lvwMain, awkward);
        const QString path = listPath("awkward.vtl");
        fp.dialogs.saveAnswers.enqueue(path);
        window.cmdSave_Click();
        window.lvwMain->clear();
        window.FileList->setCurrentRow(0);
        window.cmdPicture_Click(0);
        fp.dialogs.openAnswers.enqueue(path);
        window.cmdLoad->click();

        QVERIFY2(fp.prompter.messages.isEmpty(), qPrintable(fp.prompter.messages.value(0).text));
        QCOMPARE(slideRowsOf(*window.lvwMain), awkward);
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
        // The dialog offers the name chosen last, for as long as the window lives.
        QCOMPARE(fp.dialogs.calls.size(), 2);
        QCOMPARE(fp.dialogs.calls.last().kind, QStringLiteral("open"));
        QCOMPARE(fp.dialogs.calls.last().filter, ListFilter);
        QCOMPARE(fp.dialogs.calls.last().initialName, path);
        Vantelo another(fp.platform);
        another.cmdLoad_Click();
        QCOMPARE(fp.dialogs.calls.last().initialName, QString());
    }

    void loadingReplacesTheRowsEvenWithNone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("no rows") << QByteArray(" 0 \r\n") << QStringList{};
        QTest::newRow("one row, stored size kept")
            << QByteArray(" 1 \r\n9 | /p/ | x.jpg | 1 X 2 | \r\n") << QStringList{"x.jpg"};
    }
    void loadingReplacesTheRowsEvenWithNone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        const QString path = vantelo::test::writeBytes(m_lists.path(), "load.vtl", bytes);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        appendSlideRows(*window.lvwMain, fourRows());
        const QString picPath = window.strPicPath;
        fp.dialogs.openAnswers.enqueue(path);
        window.cmdLoad_Click();
        QVERIFY(fp.prompter.messages.isEmpty());
        const SlideRows rows = slideRowsOf(*window.lvwMain);
        QCOMPARE(namesOf(rows), names);
        if (!rows.isEmpty())
            QCOMPARE(rows.first(), SlideRow({"/p/", "x.jpg", "1 X 2", ""}));
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
        QCOMPARE(window.strPicPath, picPath);
    }

    void cancelledDialogsChangeNothing()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        const QByteArray saved = saveThenChange(fp, window);
        window.cmdSave_Click(); // no answer queued: the user cancels
        window.cmdLoad_Click();
        QCOMPARE(fp.dialogs.calls.size(), 2);
        QCOMPARE(fp.dialogs.calls.at(0).initialName, listPath("old.vtl"));
        QCOMPARE(fp.dialogs.calls.at(1).initialName, listPath("old.vtl"));
        QVERIFY(fp.prompter.messages.isEmpty());
        checkNothingChangedSince(fp, window, saved);
        QCOMPARE(QDir(m_lists.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.vtl"});
    }

    void aFailedSaveKeepsTheOldFileLabelAndSetting_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("failure");
        QTest::newRow("disk refuses the new file") << "old.vtl" << int(ErrorNumber::DiskFull);
        QTest::newRow("a folder's name") << "." << int(ErrorNumber::PathFileAccessError);
        QTest::newRow("missing folder") << "no/such/list.vtl" << int(ErrorNumber::PathNotFound);
    }
    void aFailedSaveKeepsTheOldFileLabelAndSetting()
    {
        QFETCH(QString, target);
        QFETCH(int, failure);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        const QByteArray saved = saveThenChange(fp, window);
        fp.dialogs.saveAnswers.enqueue(QDir::cleanPath(listPath(target)));
        {
            // Big enough that the new file cannot fit under the limit, whatever the folder's length.
            const FileSizeLimit limit(QFileInfo(listPath("old.vtl")).size() + 16);
            window.cmdSave_Click();
        }
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().icon, MessageIcon::None);
        QCOMPARE(fp.prompter.messages.first().text, errorReportText(AppError(failure)));
        checkNothingChangedSince(fp, window, saved);
        QCOMPARE(QDir(m_lists.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.vtl"});
    }

    void aFailedLoadKeepsTheListLabelAndSetting_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<int>("failure");
        const QByteArray row = "1 | /p/ | x.jpg | 1 X 2 | \r\n";
        QTest::newRow("fewer rows than counted") << QByteArray(" 3 \r\n") + row << int(ErrorNumber::InputPastEndOfFile);
        QTest::newRow("row cut short") << QByteArray(" 2 \r\n") + row + "2 | /p/ | y.jpg\r\n"
                                       << int(ErrorNumber::InvalidProcedureCall);
        QTest::newRow("count beyond 16 bits") << QByteArray(" 40000 \r\n") + row << int(ErrorNumber::Overflow);
        QTest::newRow("file gone") << QByteArray() << int(ErrorNumber::FileNotFound);
    }
    void aFailedLoadKeepsTheListLabelAndSetting()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, failure);
        const QString path =
            bytes.isEmpty() ? listPath("gone.vtl") : vantelo::test::writeBytes(m_lists.path(), "bad.vtl", bytes);
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        const QByteArray saved = saveThenChange(fp, window);
        fp.dialogs.openAnswers.enqueue(path);
        window.cmdLoad_Click();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().icon, MessageIcon::None);
        QCOMPARE(fp.prompter.messages.first().title, Caption);
        QCOMPARE(fp.prompter.messages.first().text, errorReportText(AppError(failure)));
        checkNothingChangedSince(fp, window, saved);
        // The dialog still remembers the name the user chose.
        window.cmdLoad_Click();
        QCOMPARE(fp.dialogs.calls.last().initialName, path);
    }

    void savingMoreThan32767RowsIsRefused()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        open(window);
        appendSlideRows(*window.lvwMain, fourRows().mid(0, 2));
        fp.dialogs.saveAnswers.enqueue(listPath("old.vtl"));
        window.cmdSave_Click();
        const QByteArray saved = readBytes(listPath("old.vtl"));
        fp.dialogs.calls.clear();
        appendSlideRows(*window.lvwMain, SlideRows(MaxSlideRows - 1, measuredRow("e.jpg", "6 X 8")));
        QCOMPARE(window.lvwMain->topLevelItemCount(), MaxSlideRows + 1);
        fp.dialogs.saveAnswers.enqueue(listPath("old.vtl"));
        window.cmdSave_Click();

        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(fp.prompter.messages.first().text,
                 QStringLiteral("Error: 6 has occurred in Project1 error was Overflow"));
        QVERIFY(fp.dialogs.calls.isEmpty());
        QCOMPARE(readBytes(listPath("old.vtl")), saved);
        QCOMPARE(window.lvwMain->topLevelItemCount(), MaxSlideRows + 1);
        QCOMPARE(fp.program.endCalls, 0);
        // Taking one row away makes the list savable again.
        selectRows(window, {0});
        window.cmdPicture_Click(1);
        window.cmdSave_Click();
        QCOMPARE(fp.prompter.messages.size(), 1);
        QCOMPARE(readBytes(listPath("old.vtl")).left(9), QByteArray(" 32767 \r\n"));
    }
};

VANTELO_TEST_MAIN(TestConfigList)
#include "tst_list.moc"
