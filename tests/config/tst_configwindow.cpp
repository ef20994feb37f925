#include "TestPictures.h"
#include "about/frmAbout.h"
#include "common/AppError.h"
#include "platform/ImageBox.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "config/VanteloLayout.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;
using vantelo::test::failureOf;
using vantelo::test::FakePlatform;

namespace {

struct StoredSettings
{
    QString delay, backColor, showType; // a null text leaves the key unwritten
};

void store(const StoredSettings& stored)
{
    if (!stored.delay.isNull())
        SaveSetting(SettingKey::Delay, stored.delay);
    if (!stored.backColor.isNull())
        SaveSetting(SettingKey::BackColor, stored.backColor);
    if (!stored.showType.isNull())
        SaveSetting(SettingKey::ShowType, stored.showType);
}

} // namespace

class TestConfigWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pictures;

private slots:
    void init() { QFile::remove(settingsFilePath()); }

    void windowIsFixedAtTheDesignSize()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        QCOMPARE(window.windowTitle(), QStringLiteral("Personal Vantelo Creator"));
        QCOMPARE(window.size(), QSize(556, 354));
        QCOMPARE(window.minimumSize(), window.maximumSize());
    }

    void controlsSitWhereTheDesignPutsThem_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(layout::Controls.size()); ++row) {
            const layout::ControlSpec& design = layout::Controls.at(size_t(row));
            const QString tag =
                layout::designText(design.name) + (design.index >= 0 ? QStringLiteral("(%1)").arg(design.index) : QString());
            QTest::newRow(qPrintable(tag)) << row;
        }
    }
    void controlsSitWhereTheDesignPutsThem()
    {
        QFETCH(int, row);
        const layout::ControlSpec& design = layout::Controls.at(size_t(row));
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        const QString name =
            layout::designText(design.name) + (design.index >= 0 ? QStringLiteral("(%1)").arg(design.index) : QString());
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QWidget* expectedParent =
            design.container == layout::Container::Frame ? static_cast<QWidget*>(window.fraDirectory) : &window;
        QCOMPARE(control->parentWidget(), expectedParent);
        QCOMPARE(control->geometry(), design.rect);
        QCOMPARE(control->toolTip(), layout::designText(design.tooltip));
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            QCOMPARE(button->text(), layout::designText(design.caption));
        else
            QVERIFY(design.caption.empty());
    }

    void statusBarHasItsSixPanels()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        StatusBar& bar = *window.stbVantelo;
        QCOMPARE(bar.panelCount(), 6);
        const QStringList tooltips{"About Personal Vantelo Creator",
                                   "Image Path",
                                   "Image Size (Pixels)",
                                   "Image Color Depth",
                                   "Current Date",
                                   "Current Time"};
        const QList<int> widths{31, 277, 73, 47, 73, 53};
        int left = 0;
        for (int panel = 1; panel <= 6; ++panel) {
            QCOMPARE(bar.panelToolTip(panel), tooltips.at(panel - 1));
            QCOMPARE(bar.panelRect(panel).width(), widths.at(panel - 1));
            QCOMPARE(bar.panelRect(panel).left(), left);
            left += widths.at(panel - 1);
        }
        for (int panel = 2; panel <= 4; ++panel)
            QVERIFY(bar.panelText(panel).isEmpty());
        QCOMPARE(bar.panelText(5), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!bar.panelText(6).isEmpty());
        QVERIFY(!bar.panelText(6).contains(QTime::currentTime().toString(QStringLiteral(":mm:ss"))));
    }

    void statusBarReportsWhichPanelWasClicked()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        QSignalSpy clicks(window.stbVantelo, &StatusBar::panelClick);
        // Panel 1 opens the modal About box; its click is checked on its own below.
        for (int panel : {2, 4, 6}) {
            QWidget* label = window.stbVantelo->childAt(window.stbVantelo->panelRect(panel).center());
            QVERIFY(label);
            QTest::mouseClick(label, Qt::LeftButton);
        }
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(clicks.at(0).at(0).toInt(), 2);
        QCOMPARE(clicks.at(1).at(0).toInt(), 4);
        QCOMPARE(clicks.at(2).at(0).toInt(), 6);
    }

    void onlyTheFirstPanelOpensTheAboutBox()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.show();
        QStringList opened;
        for (int panel : {2, 1, 6}) {
            // The box is modal: note it and close it from the event loop it runs.
            QTimer::singleShot(0, &window, [&opened] {
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    if (auto* box = qobject_cast<frmAbout*>(top); box && box->isVisible()) {
                        opened << box->windowTitle();
                        box->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                    }
                }
            });
            QWidget* label = window.stbVantelo->childAt(window.stbVantelo->panelRect(panel).center());
            QVERIFY(label);
            QTest::mouseClick(label, Qt::LeftButton);
            QCoreApplication::processEvents(); // let a timer left unused by a closed-panel click fire
        }
        QCOMPARE(opened, QStringList{QStringLiteral("About Personal Vantelo Creator")});
    }

    void slideListHasItsColumns()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        QTreeWidget& list = *window.lvwMain;
        QCOMPARE(list.columnCount(), 4);
        const QTreeWidgetItem* header = list.headerItem();
        QCOMPARE(header->text(0), QString());
        QCOMPARE(header->text(1), QStringLiteral("Name"));
        QCOMPARE(header->text(2), QStringLiteral("Size"));
        QCOMPARE(header->text(3), QStringLiteral("Color"));
        QCOMPARE(list.columnWidth(0), 0);
        QCOMPARE(list.selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!list.isSortingEnabled());
    }

    void loadsWithNothingStored()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        QCOMPARE(window.txtTimer->text(), QStringLiteral("5"));
        QCOMPARE(window.Timer1->interval(), 5000);
        QVERIFY(!window.Timer1->isEnabled());
        QVERIFY(window.optShowStyle[0]->isChecked());
        QVERIFY(!window.optShowStyle[1]->isChecked());
        QCOMPARE(window.lngBackColor, 0);
        QCOMPARE(GetSetting(SettingKey::ScreenWidth), QStringLiteral("1024"));
        QCOMPARE(GetSetting(SettingKey::ScreenHeight), QStringLiteral("738"));
        QCOMPARE(GetSetting(SettingKey::ShowType), QStringLiteral("Ordered"));
        QCOMPARE(GetSetting(SettingKey::Delay), QString()); // read, never written at start
        QCOMPARE(window.cboFiletype->count(), 3);
        QCOMPARE(window.cboFiletype->itemText(0), QStringLiteral("*.jpg"));
        QCOMPARE(window.cboFiletype->itemText(1), QStringLiteral("*.bmp"));
        QCOMPARE(window.cboFiletype->itemText(2), QStringLiteral("*.gif"));
        QCOMPARE(window.cboFiletype->currentIndex(), 0);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(!window.imgPreview->picture().isNull());
        QVERIFY(window.lblFileName->text().isEmpty());
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void recordsTheWorkAreaOfThePrimaryScreen()
    {
        FakePlatform fp;
        fp.screen.work = QRect(0, 27, 1920, 1053);
        Vantelo window(fp.platform);
        window.Form_Load();
        QCOMPARE(GetSetting(SettingKey::ScreenWidth), QStringLiteral("1920"));
        QCOMPARE(GetSetting(SettingKey::ScreenHeight), QStringLiteral("1053"));
    }

    void loadsStoredValues_data()
    {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("backColor");
        QTest::addColumn<QString>("showType");
        QTest::addColumn<QString>("delayText");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("colour");
        QTest::addColumn<bool>("ordered");
        QTest::addColumn<bool>("random");
        QTest::addColumn<QString>("showTypeAfter");

        // clang-format off
        //                                                  stored: delay, colour, order   shown: delay, interval, colour, buttons, order after
        QTest::newRow("random order")                            << "9"     << "255"   << "Random"  << "9"   << 9000   << 255 << false << true  << "Random";
        QTest::newRow("order in other letter case leaves both off") << "5"  << "0"     << "random"  << "5"   << 5000   << 0   << false << false << "random";
        QTest::newRow("leading zero")                            << "07"    << "0"     << "Ordered" << "7"   << 7000   << 0   << true  << false << "Ordered";
        QTest::newRow("delay above a minute keeps its interval") << "66"    << "0"     << "Ordered" << "66"  << 66000  << 0   << true  << false << "Ordered";
        QTest::newRow("hand-edited long delay stays whole")      << "120"   << "0"     << "Ordered" << "120" << 120000 << 0   << true  << false << "Ordered";
        QTest::newRow("empty delay falls back")                  << ""      << "0"     << "Ordered" << "5"   << 5000   << 0   << true  << false << "Ordered";
        QTest::newRow("delay of letters falls back")             << "abc"   << "0"     << "Ordered" << "5"   << 5000   << 0   << true  << false << "Ordered";
        QTest::newRow("delay beyond 16 bits falls back")         << "40000" << "0"     << "Ordered" << "5"   << 5000   << 0   << true  << false << "Ordered";
        QTest::newRow("negative delay falls back")               << "-3"    << "0"     << "Ordered" << "5"   << 5000   << 0   << true  << false << "Ordered";
        QTest::newRow("colour of letters is black")              << "5"     << "red"   << "Ordered" << "5"   << 5000   << 0   << true  << false << "Ordered";
        QTest::newRow("blue")                                    << "5" << "16711680"  << "Ordered" << "5"   << 5000   << 16711680 << true << false << "Ordered";
        // clang-format on
    }
    void loadsStoredValues()
    {
        QFETCH(QString, delay);
        QFETCH(QString, backColor);
        QFETCH(QString, showType);
        store({delay, backColor, showType});
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        QTEST(window.txtTimer->text(), "delayText");
        QTEST(window.Timer1->interval(), "interval");
        QVERIFY(!window.Timer1->isEnabled());
        QTEST(int(window.lngBackColor), "colour");
        QTEST(window.optShowStyle[0]->isChecked(), "ordered");
        QTEST(window.optShowStyle[1]->isChecked(), "random");
        QTEST(GetSetting(SettingKey::ShowType), "showTypeAfter");
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void fitsThePreviewToTheSizeText_data()
    {
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<int>("failure");
        QTest::newRow("800 wide, 600 high") << "600 X 800" << QRectF(177.833, 44, 177.333, 133) << 0;
        QTest::newRow("600 wide, 800 high") << "800 X 600" << QRectF(216.625, 44, 99.75, 133) << 0;
        QTest::newRow("1 by 1") << "1 X 1" << QRectF(200, 44, 133, 133) << 0;
        QTest::newRow("wider than the preview area stays centred")
            << "100 X 32767" << QRectF(266.5 - 43580.11 / 2, 44, 43580.11, 133) << 0;
        QTest::newRow("0 X 0") << "0 X 0" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("zero width") << "600 X 0" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("empty") << "" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("small x is no separator") << "600 x 800" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("width of 40000") << "600 X 40000" << QRectF() << int(ErrorNumber::Overflow);
        QTest::newRow("height of 40000") << "40000 X 600" << QRectF() << int(ErrorNumber::Overflow);
    }
    void fitsThePreviewToTheSizeText()
    {
        QFETCH(QString, sizeText);
        QFETCH(QRectF, box);
        QFETCH(int, failure);
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.FitPreview(QStringLiteral("480 X 640"));
        const QRectF before = window.imgPreview->box();
        const QRect pixelsBefore = window.imgPreview->geometry();

        QCOMPARE(failureOf([&] { window.FitPreview(sizeText); }), failure);
        const QRectF after = window.imgPreview->box();
        if (failure != 0) {
            QCOMPARE(after, before);
            QCOMPARE(window.imgPreview->geometry(), pixelsBefore);
            return;
        }
        const qreal tolerance = std::max<qreal>(0.01, box.width() * 1e-6);
        QVERIFY2(std::abs(after.left() - box.left()) < tolerance, qPrintable(QString::number(after.left())));
        QCOMPARE(after.top(), box.top());
        QVERIFY2(std::abs(after.width() - box.width()) < tolerance, qPrintable(QString::number(after.width())));
        QCOMPARE(after.height(), box.height());
        // Every fitted box is centred on the line under the picture's name.
        QVERIFY(std::abs(after.center().x() - 266.5) < tolerance);
        QCOMPARE(window.imgPreview->geometry().top(), 44);
        QCOMPARE(window.imgPreview->geometry().height(), 133);
    }

    void defaultPictureRestoresTheDesignBox()
    {
        FakePlatform fp;
        Vantelo window(fp.platform);
        window.Form_Load();
        window.FitPreview(QStringLiteral("600 X 800"));
        window.lblPicName->setText(QStringLiteral("holiday.jpg"));
        window.ShowDefaultPicture();
        QCOMPARE(window.imgPreview->box(), QRectF(204, 36, 125, 145));
        QCOMPARE(window.imgPreview->geometry(), QRect(204, 36, 125, 145));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->picture().size(), QSize(125, 145));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void measuresPictureFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<int>("failure");
        const QString folder = m_pictures.path();
        using vantelo::test::writePicture;
        QTest::newRow("bmp") << writePicture(folder, "a.bmp", 33, 17, "BMP") << "17 X 33" << 0;
        QTest::newRow("jpeg") << writePicture(folder, "b.jpg", 800, 600, "JPEG") << "600 X 800" << 0;
        QTest::newRow("gif") << writePicture(folder, "c.gif", 640, 480, "GIF") << "480 X 640" << 0;
        QTest::newRow("jpeg named .bmp") << writePicture(folder, "e.bmp", 5, 7, "JPEG") << "7 X 5" << 0;
        QTest::newRow("damaged jpeg") << vantelo::test::writeDamagedJpeg(folder, "f.jpg") << ""
                                      << int(ErrorNumber::InvalidPicture);
        QTest::newRow("text named .jpg") << vantelo::test::writeBytes(folder, "g.jpg", "just some words\n") << ""
                                         << int(ErrorNumber::InvalidPicture);
        QTest::newRow("missing") << QDir(folder).filePath("missing.jpg") << "" << int(ErrorNumber::FileNotFound);
    }
    void measuresPictureFiles()
    {
        QFETCH(QString, path);
        QFETCH(QString, sizeText);
        QFETCH(int, failure);
        QVERIFY(!path.isEmpty());
        FakePlatform fp;
        Vantelo window(fp.platform);
        QString measured;
        QCOMPARE(failureOf([&] { measured = window.GetPictureSize(path); }), failure);
        QCOMPARE(measured, sizeText);
    }
};

VANTELO_TEST_MAIN(TestConfigWindow)
#include "tst_configwindow.moc"
