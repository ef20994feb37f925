#include "ConfigTest.h"
#include "config/PreviewFitting.h"
#include "config/SlideListView.h"
#include "config/StatusBar.h"
#include "platform/ImageBox.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <csignal>
#include <sys/resource.h>

using namespace vantelo;
using test::TestWindow;

namespace {

const QString ListFilter = QStringLiteral("Vantelo Files (*.vtl)");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList namesOf(const QTreeWidget& list)
{
    QStringList names;
    for (const SlideRow& row : slideRowsOf(list))
        names << row.fileName;
    return names;
}

// A double-click as the system delivers it: a click, then the second press as a double-click.
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

class TestList : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pictures; // the window browses it: 0 a.jpg, 1 b.jpg, 2 bnotes.jpg (no picture), 3 c.jpg,
                              // 4 d.jpg, 5 e.jpg, 6 landscape.jpg
    QTemporaryDir m_lists;

    QString folderText() const { return m_pictures.path() + u'/'; }
    QString listPath(const QString& name) const { return m_lists.filePath(name); }
    SlideRow row(const QString& name, const QString& size) const { return {folderText(), name, size, {}}; }
    SlideRows fourRows() const
    {
        return {row("a.jpg", "48 X 64"), row("b.jpg", "40 X 30"), row("c.jpg", "10 X 20"), row("d.jpg", "16 X 16")};
    }

    void select(QAbstractItemView* view, const QList<int>& entries)
    {
        view->clearSelection();
        for (int entry : entries)
            view->selectionModel()->select(view->model()->index(entry, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // The window's list saved to old.vtl (label, setting and dialog name all name it), then changed.
    // Returns the saved bytes.
    QByteArray saveThenChange(TestWindow& window)
    {
        appendSlideRows(*window.lvwMain, fourRows().mid(0, 2));
        window.fp.dialogs.saveAnswers.enqueue(listPath("old.vtl"));
        window.cmdSave_Click();
        appendSlideRows(*window.lvwMain, fourRows().mid(2));
        window.fp.dialogs.calls.clear();
        return readBytes(listPath("old.vtl"));
    }
    void checkNothingChangedSince(TestWindow& window, const QByteArray& savedBytes)
    {
        QCOMPARE(readBytes(listPath("old.vtl")), savedBytes);
        QCOMPARE(window.lblFileName->text(), listPath("old.vtl"));
        QCOMPARE(GetSetting(SettingKey::File), listPath("old.vtl"));
        QCOMPARE(slideRowsOf(*window.lvwMain), fourRows());
        QCOMPARE(window.fp.program.endCalls, 0);
        QCOMPARE(QDir(m_lists.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.vtl"});
    }

private slots:
    void initTestCase()
    {
        const QString folder = m_pictures.path();
        QVERIFY(!test::writePicture(folder, "a.jpg", 64, 48).isEmpty());
        QVERIFY(!test::writePicture(folder, "b.jpg", 30, 40).isEmpty());
        QVERIFY(!test::writeBytes(folder, "bnotes.jpg", "a shopping list\n").isEmpty());
        QVERIFY(!test::writePicture(folder, "c.jpg", 20, 10).isEmpty());
        QVERIFY(!test::writePicture(folder, "d.jpg", 16, 16).isEmpty());
        QVERIFY(!test::writePicture(folder, "e.jpg", 8, 6).isEmpty());
        QVERIFY(!test::writePicture(folder, "landscape.jpg", 800, 600).isEmpty());
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
        TestWindow window(m_pictures.path());
        window.FileList->setCurrentRow(0);
        window.cmdPicture[0]->click();
        window.cmdPicture[0]->click();
        QCOMPARE(window.fp.prompter.said(), QStringList());
        QCOMPARE(slideRowsOf(*window.lvwMain), SlideRows(2, row("a.jpg", "48 X 64")));
        QCOMPARE(window.strPicPath, m_pictures.filePath("a.jpg"));
        // Adding leaves the preview's picture and the status bar alone.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(window.stbVantelo->panelText(2).isEmpty());
    }

    void addingAllSelectedFilesKeepsTheirOrder()
    {
        TestWindow window(m_pictures.path());
        window.cmdPicture[2]->click(); // none selected: nothing
        QCOMPARE(window.lvwMain->topLevelItemCount(), 0);
        select(window.FileList, {4, 1, 3});
        window.cmdPicture[2]->click();
        QCOMPARE(window.fp.prompter.said(), QStringList());
        QCOMPARE(slideRowsOf(*window.lvwMain),
                 (SlideRows{row("b.jpg", "40 X 30"), row("c.jpg", "10 X 20"), row("d.jpg", "16 X 16")}));
    }

    void aFileThatCannotBeMeasuredStaysUnmeasuredAndEndsTheAdd_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<int>>("entries");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("failure");
        QTest::newRow("single, no picture")
            << 0 << QList<int>{2} << QStringList{"bnotes.jpg"} << int(ErrorNumber::InvalidPicture);
        QTest::newRow("all, no picture in the middle")
            << 2 << QList<int>{0, 2, 3} << QStringList{"a.jpg", "bnotes.jpg"} << int(ErrorNumber::InvalidPicture);
        QTest::newRow("all, file gone since listed")
            << 2 << QList<int>{1, 7} << QStringList{"b.jpg", "gone.jpg"} << int(ErrorNumber::FileNotFound);
    }
    void aFileThatCannotBeMeasuredStaysUnmeasuredAndEndsTheAdd()
    {
        QFETCH(int, button);
        QFETCH(QList<int>, entries);
        QFETCH(QStringList, names);
        QFETCH(int, failure);
        TestWindow window(m_pictures.path());
        window.FileList->addItem(QStringLiteral("gone.jpg"));
        select(window.FileList, entries);
        window.FileList->setCurrentRow(entries.first(), QItemSelectionModel::NoUpdate);
        window.cmdPicture_Click(button);
        QCOMPARE(window.fp.prompter.said(), QStringList{test::report(failure)});
        QCOMPARE(namesOf(*window.lvwMain), names);
        QCOMPARE(slideRowsOf(*window.lvwMain).last(), row(names.last(), QString()));
        QCOMPARE(window.strPicPath, m_pictures.filePath(names.last()));
    }

    void aRootFolderGivesTwoSeparators()
    {
        TestWindow window(QStringLiteral("/"));
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
        QTest::newRow("every other row") << QList<int>{0, 2} << QStringList{"b.jpg", "d.jpg"};
    }
    void removingAllSelectedRowsKeepsTheOthersInOrder()
    {
        QFETCH(QList<int>, selected);
        TestWindow window(m_pictures.path());
        appendSlideRows(*window.lvwMain, fourRows());
        select(window.lvwMain, selected);
        window.cmdPicture[3]->click();
        QVERIFY(window.fp.prompter.messages.isEmpty());
        QTEST(namesOf(*window.lvwMain), "left");
    }

    void removingTheSelectedRowTakesOnlyThatRow()
    {
        TestWindow window(m_pictures.path());
        appendSlideRows(*window.lvwMain, fourRows());
        window.lvwMain->setCurrentItem(window.lvwMain->topLevelItem(2));
        window.cmdPicture[1]->click();
        QCOMPARE(namesOf(*window.lvwMain), (QStringList{"a.jpg", "b.jpg", "d.jpg"}));
        // With several rows selected, the current one goes when it is among them.
        select(window.lvwMain, {0, 1});
        window.lvwMain->setCurrentItem(window.lvwMain->topLevelItem(1), 0, QItemSelectionModel::NoUpdate);
        window.cmdPicture_Click(1);
        QCOMPARE(namesOf(*window.lvwMain), (QStringList{"a.jpg", "d.jpg"}));
        QVERIFY(window.fp.prompter.messages.isEmpty());
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
        TestWindow window(m_pictures.path());
        window.FileList->setCurrentRow(-1);
        appendSlideRows(*window.lvwMain, fourRows().mid(0, rows));
        (command == 4 ? window.cmdSave : window.cmdPicture[size_t(command)])->click();
        QCOMPARE(window.fp.prompter.said(), QStringList{test::warning(text)});
        QCOMPARE(window.lvwMain->topLevelItemCount(), rows);
        QVERIFY(window.fp.dialogs.calls.isEmpty());
        QVERIFY(GetSetting(SettingKey::File).isNull());
    }

    void doubleClicksAddAFileAndRemoveARow()
    {
        TestWindow window(m_pictures.path());
        doubleClick(window.FileList, window.FileList->visualItemRect(window.FileList->item(1)));
        // The first press previewed the file; the double-click added it.
        QCOMPARE(window.lblPicName->text(), QStringLiteral("b.jpg"));
        QCOMPARE(slideRowsOf(*window.lvwMain), SlideRows{row("b.jpg", "40 X 30")});
        window.lvwMain->clear();
        appendSlideRows(*window.lvwMain, fourRows());
        doubleClick(window.lvwMain, window.lvwMain->visualItemRect(window.lvwMain->topLevelItem(1)));
        QCOMPARE(namesOf(*window.lvwMain), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(window.fp.prompter.said(), QStringList());
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
        TestWindow window(m_pictures.path());
        window.strPicPath = QStringLiteral("before");
        appendSlideRows(*window.lvwMain, {row("a.jpg", "48 X 64"), row(file, storedSize)});
        QTest::mouseClick(window.lvwMain->viewport(), Qt::LeftButton, {},
                          window.lvwMain->visualItemRect(window.lvwMain->topLevelItem(1)).center());
        QCOMPARE(window.strPicSize, storedSize);
        QVERIFY(window.stbVantelo->panelText(3).isEmpty());
        QCOMPARE(window.fp.prompter.said(), failure ? QStringList{test::report(failure)} : QStringList());
        if (failure == 0) {
            QCOMPARE(window.imgPreview->box(), fitPreviewBox(storedSize));
            QCOMPARE(window.imgPreview->picture().size(), previewDecodeSize(storedSize));
            QVERIFY(!window.imgPreview->isHidden());
            QCOMPARE(window.lblPicName->text(), file);
            QCOMPARE(window.strPicPath, m_pictures.filePath(file));
            return;
        }
        // The steps before the failure stay done; the preview stays hidden under its old caption.
        QVERIFY(window.imgPreview->isHidden());
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QCOMPARE(window.strPicPath,
                 failure == ErrorNumber::DivisionByZero ? QStringLiteral("before") : m_pictures.filePath(file));
    }

    // ---- saving and loading ----

    void savingTwoAddedPicturesWritesTheseBytes()
    {
        TestWindow window(m_pictures.path());
        select(window.FileList, {0, 1});
        window.cmdPicture_Click(2);
        const QString path = listPath("two.vtl");
        window.fp.dialogs.saveAnswers.enqueue(path);
        window.cmdSave->click();
        QCOMPARE(window.fp.prompter.said(), QStringList());
        QCOMPARE(window.fp.dialogs.calls.size(), 1);
        QCOMPARE(window.fp.dialogs.calls.first().kind, QStringLiteral("save"));
        QCOMPARE(window.fp.dialogs.calls.first().filter, ListFilter);
        QCOMPARE(window.fp.dialogs.calls.first().initialName, QString());
        const QByteArray folder = folderText().toUtf8();
        QCOMPARE(readBytes(path), QByteArray(" 2 \r\n1 | " + folder + " | a.jpg | 48 X 64 | \r\n2 | " + folder +
                                             " | b.jpg | 40 X 30 | \r\n"));
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
    }

    void savingThenLoadingGivesTheSameRows()
    {
        const SlideRows awkward{
            row("a.jpg", "48 X 64"),
            {QStringLiteral("/home/ann/My Pictures//"), QStringLiteral("  spaced name .jpg"), QString(), QString()},
            {QStringLiteral("/tmp/ü/"), QStringLiteral("ß ☀.gif"), QStringLiteral("1 X 1"), QStringLiteral("a | b |")},
            {QStringLiteral("/x/"), QStringLiteral("c,d;e=f#g.bmp"), QStringLiteral("2 X 3"), QStringLiteral("  ")},
        };
        TestWindow window(m_pictures.path());
        appendSlideRows(*window.lvwMain, awkward);
        const QString path = listPath("awkward.vtl");
        window.fp.dialogs.saveAnswers.enqueue(path);
        window.cmdSave_Click();
        window.lvwMain->clear();
        window.fp.dialogs.openAnswers.enqueue(path);
        window.cmdLoad->click();
        QCOMPARE(window.fp.prompter.said(), QStringList());
        QCOMPARE(slideRowsOf(*window.lvwMain), awkward);
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
        // The open dialog offers the name chosen last.
        QCOMPARE(window.fp.dialogs.calls.size(), 2);
        QCOMPARE(window.fp.dialogs.calls.last().kind, QStringLiteral("open"));
        QCOMPARE(window.fp.dialogs.calls.last().filter, ListFilter);
        QCOMPARE(window.fp.dialogs.calls.last().initialName, path);
    }

    void loadingReplacesTheRowsEvenWithNone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SlideRows>("rows");
        QTest::newRow("no rows") << QByteArray(" 0 \r\n") << SlideRows{};
        QTest::newRow("one row, stored size kept")
            << QByteArray(" 1 \r\n9 | /p/ | x.jpg | 1 X 2 | \r\n") << SlideRows{{"/p/", "x.jpg", "1 X 2", ""}};
    }
    void loadingReplacesTheRowsEvenWithNone()
    {
        QFETCH(QByteArray, bytes);
        const QString path = test::writeBytes(m_lists.path(), "load.vtl", bytes);
        TestWindow window(m_pictures.path());
        appendSlideRows(*window.lvwMain, fourRows());
        window.fp.dialogs.openAnswers.enqueue(path);
        window.cmdLoad_Click();
        QVERIFY(window.fp.prompter.messages.isEmpty());
        QTEST(slideRowsOf(*window.lvwMain), "rows");
        QCOMPARE(window.lblFileName->text(), path);
        QCOMPARE(GetSetting(SettingKey::File), path);
    }

    void aCancelledOrFailedSaveOrLoadChangesNothing_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("answer"); // saving: a name under the lists' folder; loading: the file's text
        QTest::addColumn<int>("failure");    // 0: the dialog is cancelled
        const QString row = QStringLiteral("1 | /p/ | x.jpg | 1 X 2 | \r\n");
        QTest::newRow("save cancelled") << true << "" << 0;
        QTest::newRow("load cancelled") << false << "" << 0;
        QTest::newRow("disk refuses the new file") << true << "old.vtl" << int(ErrorNumber::DiskFull);
        QTest::newRow("a folder's name") << true << "." << int(ErrorNumber::PathFileAccessError);
        QTest::newRow("missing folder") << true << "no/such/list.vtl" << int(ErrorNumber::PathNotFound);
        QTest::newRow("fewer rows than counted") << false << " 3 \r\n" + row << int(ErrorNumber::InputPastEndOfFile);
        QTest::newRow("row cut short") << false << " 2 \r\n" + row + "2 | /p/ | y.jpg\r\n"
                                       << int(ErrorNumber::InvalidProcedureCall);
        QTest::newRow("count beyond 16 bits") << false << " 40000 \r\n" + row << int(ErrorNumber::Overflow);
        QTest::newRow("file gone") << false << "gone" << int(ErrorNumber::FileNotFound);
    }
    void aCancelledOrFailedSaveOrLoadChangesNothing()
    {
        QFETCH(bool, save);
        QFETCH(QString, answer);
        QFETCH(int, failure);
        TestWindow window(m_pictures.path());
        const QByteArray saved = saveThenChange(window);
        // A file to load is kept out of the lists' folder, which must end up holding the old file alone.
        QString path = QDir::cleanPath(listPath(answer));
        if (!save)
            path = answer == u"gone" ? m_pictures.filePath("gone.vtl")
                                     : test::writeBytes(m_pictures.path(), "bad.vtl", answer.toUtf8());
        if (!answer.isEmpty())
            (save ? window.fp.dialogs.saveAnswers : window.fp.dialogs.openAnswers).enqueue(path);
        {
            // Big enough that the new file cannot fit under the limit, whatever the folder's length.
            const FileSizeLimit limit(QFileInfo(listPath("old.vtl")).size() + 16);
            save ? window.cmdSave_Click() : window.cmdLoad_Click();
        }
        QCOMPARE(window.fp.prompter.said(), failure ? QStringList{test::report(failure)} : QStringList());
        checkNothingChangedSince(window, saved);
        // The dialogs offer the name chosen last: the old list's after a cancel.
        window.cmdLoad_Click();
        QCOMPARE(window.fp.dialogs.calls.first().initialName, listPath("old.vtl"));
        QCOMPARE(window.fp.dialogs.calls.last().initialName, answer.isEmpty() ? listPath("old.vtl") : path);
    }

    void savingMoreThan32767RowsIsRefused()
    {
        TestWindow window(m_pictures.path());
        const QByteArray saved = saveThenChange(window);
        appendSlideRows(*window.lvwMain, SlideRows(MaxSlideRows - 3, row("e.jpg", "6 X 8")));
        QCOMPARE(window.lvwMain->topLevelItemCount(), MaxSlideRows + 1);
        window.fp.dialogs.saveAnswers.enqueue(listPath("old.vtl"));
        window.cmdSave_Click();
        QCOMPARE(window.fp.prompter.said(), QStringList{test::report(ErrorNumber::Overflow)});
        QVERIFY(window.fp.dialogs.calls.isEmpty());
        QCOMPARE(readBytes(listPath("old.vtl")), saved);
        QCOMPARE(window.lvwMain->topLevelItemCount(), MaxSlideRows + 1);
        QCOMPARE(window.fp.program.endCalls, 0);
        // Taking one row away makes the list savable again.
        select(window.lvwMain, {0});
        window.cmdPicture_Click(1);
        window.cmdSave_Click();
        QCOMPARE(window.fp.prompter.messages.size(), 1);
        QCOMPARE(readBytes(listPath("old.vtl")).left(9), QByteArray(" 32767 \r\n"));
    }
};

VANTELO_TEST_MAIN(TestList)
#include "tst_list.moc"
