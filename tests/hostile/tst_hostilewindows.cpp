#include "HostilePictures.h"
#include "config/BrowserLists.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "platform/ImageBox.h"
#include "settings/HostileSettings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace vantelo;
using namespace vantelo::test;

// Both windows opened on broken settings and fed broken pictures, driven the way the user drives
// them: whatever the input, each step ends in a picture or in a report, and nothing escapes.
namespace {

const QString CreatorTitle = QStringLiteral("Personal Vantelo Creator");
const QString ShowTitle = QStringLiteral("Personal Vantelo");
const QString Shown = QStringLiteral("(picture shown)");

// Reports as the user sees them: icon, title and text; from the first not yet looked at.
QString reportsSince(const FakePrompter& prompter, qsizetype first = 0)
{
    QStringList seen;
    for (const ShownMessage& m : prompter.messages.mid(first))
        seen << (m.icon == MessageIcon::Exclamation ? QStringLiteral("(!) ") : QString()) + m.title + u'|' + m.text;
    return seen.join(u'\n');
}
// One step's outcome: its reports, else whether its picture was shown.
QString outcome(const FakePrompter& prompter, qsizetype reportsBefore, bool pictureShown)
{
    if (prompter.messages.size() > reportsBefore)
        return reportsSince(prompter, reportsBefore);
    return pictureShown ? Shown : QStringLiteral("nothing");
}
QString commonReport(const QString& title, const AppError& error)
{
    return title + u'|' + errorReportText(error);
}

void writeStore(const QByteArray& content)
{
    QFile store(settingsFilePath());
    if (!store.open(QIODevice::WriteOnly | QIODevice::Truncate) || store.write(content) != content.size())
        qFatal("cannot write the settings file %s", qPrintable(store.fileName()));
}

// What a reader gets for key from this file; a key the table does not list is absent there.
HostileReading readingOf(const HostileSettingsFile& file, const QString& key)
{
    for (const HostileReading& r : file.readings)
        if (r.key == key)
            return r;
    return {key, std::nullopt, 0, settingDefault(key).toLongLong()};
}

// The preview shows a measured picture: the maker's picture sits higher.
bool previewFitted(const Vantelo& window)
{
    return !window.imgPreview->isHidden() && !window.imgPreview->picture().isNull() &&
           window.imgPreview->geometry().top() == 44;
}

struct SavedPicture
{
    QString name;
    bool shows = false;
    QString sizeText; // as measuring gives it; empty for a picture that is refused
};

} // namespace

class TestHostileWindows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pictures;
    QTemporaryDir m_lists;
    QList<SavedPicture> m_saved;

    // The list the window leaves after adding each picture in turn, saved where the show finds it.
    QString saveList(const QList<SavedPicture>& pictures)
    {
        SlideRows rows;
        for (const SavedPicture& p : pictures)
            rows.append({m_pictures.path() + u'/', p.name, p.sizeText, QString()});
        const QString path = m_lists.filePath(QStringLiteral("list.vtl"));
        WriteSlideList(rows, path);
        SaveSetting(SettingKey::File, path);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath()));
        for (const HostilePicture& picture : hostilePictures()) {
            QFile file(m_pictures.filePath(picture.fileName));
            const QByteArray bytes = picture.make();
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            const bool shows = picture.outcome == Outcome::Picture;
            m_saved.append({picture.fileName, shows,
                            shows ? makeSizeText(picture.measured.height(), picture.measured.width()) : QString()});
        }
    }
    void init() { QFile::remove(settingsFilePath()); }

    void settingsOpenBothWindows_data()
    {
        QTest::addColumn<int>("index");
        const QList<HostileSettingsFile> files = hostileSettingsFiles();
        for (int i = 0; i < files.size(); ++i)
            QTest::newRow(qPrintable(files[i].tag)) << i;
    }
    void settingsOpenBothWindows()
    {
        QFETCH(int, index);
        const HostileSettingsFile file = hostileSettingsFiles().at(index);

        // The configuration window opens, silently, on the default for whatever it cannot use.
        writeStore(file.content);
        {
            FakePlatform fp;
            Vantelo window(fp.platform);
            window.Form_Load();
            QCOMPARE(reportsSince(fp.prompter), QString());
            const HostileReading delay = readingOf(file, SettingKey::Delay);
            const HostileReading color = readingOf(file, SettingKey::BackColor);
            const QString order = readingOf(file, SettingKey::ShowType).text.value_or(QStringLiteral("Ordered"));
            QCOMPARE(window.txtTimer->text(),
                     delay.failure == 0 && delay.value >= 0 ? QString::number(delay.value) : QStringLiteral("5"));
            QCOMPARE(qint64(window.lngBackColor), color.failure == 0 ? color.value : 0);
            QCOMPARE(window.optShowStyle[0]->isChecked(), order == QLatin1String("Ordered"));
            QCOMPARE(window.optShowStyle[1]->isChecked(), order == QLatin1String("Random"));
            // Its record of the work area replaces whatever the store held.
            QCOMPARE(GetSetting(SettingKey::ScreenWidth), QString::number(fp.screen.work.width()));
            QCOMPARE(GetSetting(SettingKey::ScreenHeight), QString::number(fp.screen.work.height()));
        }

        // The show reports the first setting it cannot convert, in the order it reads them, and stays
        // idle; with no list named it opens silently.
        QString expected;
        for (const QString& key :
             {SettingKey::ScreenWidth, SettingKey::ScreenHeight, SettingKey::Delay, SettingKey::BackColor}) {
            if (const int failure = readingOf(file, key).failure; failure != 0 && expected.isEmpty())
                expected = commonReport(ShowTitle, AppError(failure));
        }
        writeStore(file.content);
        {
            FakePlatform fp;
            auto show = std::make_unique<FullShow>(fp.platform);
            show->Form_Load();
            QCOMPARE(reportsSince(fp.prompter), expected);
            QVERIFY(!show->slideTimer().isActive());
            QVERIFY(show->pictureBox().isHidden());
            QCOMPARE(show->geometry(), fp.screen.screen);
        }

        // Settings the show can convert, however odd, with a real list named: the first slide comes,
        // but for a work area of negative height, which would turn the picture's box inside out.
        if (!expected.isEmpty())
            return;
        writeStore(file.content);
        QVERIFY(patternImage(QSize(64, 48), QImage::Format_RGB32).save(m_pictures.filePath("plain.bmp")));
        saveList({{QStringLiteral("plain.bmp"), true, QStringLiteral("48 X 64")}});
        const bool insideOut = readingOf(file, SettingKey::ScreenHeight).value < 0;
        FakePlatform fp;
        auto show = std::make_unique<FullShow>(fp.platform);
        QSignalSpy slides(show.get(), &FullShow::slideShown);
        show->Form_Load();
        QCOMPARE(reportsSince(fp.prompter),
                 insideOut ? commonReport(ShowTitle, AppError(380, QStringLiteral("Invalid property value")))
                           : QString());
        QCOMPARE(slides.count(), insideOut ? 0 : 1);
        QCOMPARE(show->pictureBox().isHidden(), insideOut);
    }

    void pictureInTheConfigurationWindow_data()
    {
        QTest::addColumn<int>("index");
        const QList<HostilePicture> pictures = hostilePictures();
        for (int i = 0; i < m_saved.size(); ++i)
            QTest::newRow(qPrintable(pictures[i].tag)) << i;
    }
    void pictureInTheConfigurationWindow()
    {
        QFETCH(int, index);
        const SavedPicture& picture = m_saved.at(index);
        const QString refused = commonReport(CreatorTitle, AppError(ErrorNumber::InvalidPicture));
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.DirList->setPath(m_pictures.path());

        // A click in the file list previews the picture, or reports it and leaves the maker's picture.
        window.cboFiletype->setCurrentIndex(
            int(QStringList{"jpg", "bmp", "gif"}.indexOf(QFileInfo(picture.name).suffix())));
        const QList<QListWidgetItem*> entry = window.FileList->findItems(picture.name, Qt::MatchExactly);
        QCOMPARE(entry.size(), 1);
        QTest::mouseClick(window.FileList->viewport(), Qt::LeftButton, {},
                          window.FileList->visualItemRect(entry.first()).center());
        // The reports so far, with the one a refused picture adds at this step.
        QStringList reports;
        auto reportsWith = [&](const QString& report) {
            if (!picture.shows)
                reports << report;
            return reports.join(u'\n');
        };
        QCOMPARE(reportsSince(fp.prompter), reportsWith(refused));
        QCOMPARE(window.strPicSize, picture.sizeText);
        QCOMPARE(window.lblPicName->text(), picture.shows ? picture.name : QStringLiteral("Torvane Consulting"));
        QCOMPARE(previewFitted(window), picture.shows);
        QVERIFY(!window.imgPreview->isHidden());

        // "--->" lists it measured, or unmeasured with the same report.
        window.cmdPicture[0]->click();
        QCOMPARE(window.lvwMain->topLevelItemCount(), 1);
        QTreeWidgetItem* row = window.lvwMain->topLevelItem(0);
        QCOMPARE(row->text(1), picture.name);
        QCOMPARE(row->text(2), picture.sizeText);
        QCOMPARE(reportsSince(fp.prompter), reportsWith(refused));

        // A click on its row previews it again; an unmeasured row has no size to fit the preview to.
        QTest::mouseClick(window.lvwMain->viewport(), Qt::LeftButton, {}, window.lvwMain->visualItemRect(row).center());
        QCOMPARE(reportsSince(fp.prompter),
                 reportsWith(commonReport(CreatorTitle, AppError(ErrorNumber::DivisionByZero))));
        QCOMPARE(previewFitted(window), picture.shows);
        QCOMPARE(window.imgPreview->isHidden(), !picture.shows);
    }

    // Every picture in one list: the small demonstration and the show go through it in order, the
    // next slide decoded ahead in the background, each slide ending in its picture or its report,
    // and the pictures after a refused one still come.
    void listOfEveryPictureInTheDemonstrationAndTheShow()
    {
        QStringList expectedDemo, expectedShow;
        for (const SavedPicture& p : m_saved) {
            expectedDemo << (p.shows ? Shown : commonReport(CreatorTitle, AppError(ErrorNumber::InvalidPicture)));
            expectedShow << (p.shows ? Shown : commonReport(ShowTitle, AppError(ErrorNumber::InvalidPicture)));
        }
        const QString list = saveList(m_saved);

        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        fp.dialogs.openAnswers.enqueue(list);
        window.cmdLoad->click();
        QCOMPARE(window.lvwMain->topLevelItemCount(), m_saved.size());
        QStringList demo;
        for (const SavedPicture& p : m_saved) {
            const qsizetype before = fp.prompter.messages.size();
            if (demo.isEmpty()) {
                window.cmdDemoSM->click();
            } else {
                // A refused picture ends the demonstration: it goes on from the next row, as if restarted there.
                window.Timer1->setEnabled(true);
                window.Timer1_Timer();
            }
            demo << outcome(fp.prompter, before, previewFitted(window) && window.lblPicName->text() == p.name);
        }
        QCOMPARE(demo, expectedDemo);

        FakePlatform showFp;
        auto show = std::make_unique<FullShow>(showFp.platform);
        QSignalSpy slides(show.get(), &FullShow::slideShown);
        QStringList shows;
        for (qsizetype i = 0; i < m_saved.size(); ++i) {
            const qsizetype before = showFp.prompter.messages.size();
            const qsizetype slidesBefore = slides.count();
            if (i == 0)
                show->Form_Load();
            else
                show->Timer1_Timer();
            shows << outcome(showFp.prompter, before, slides.count() > slidesBefore && !show->pictureBox().isHidden());
        }
        QCOMPARE(shows, expectedShow);
        QVERIFY(show->slideTimer().isActive());
    }
};

VANTELO_TEST_MAIN(TestHostileWindows)
#include "tst_hostilewindows.moc"
