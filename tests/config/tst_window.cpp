#include "ConfigTest.h"
#include "about/frmAbout.h"
#include "config/StatusBar.h"
#include "config/VanteloLayout.h"
#include "config/WindowTimer.h"
#include "platform/ImageBox.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;
using test::TestWindow;

class TestConfigWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_pictures;

private slots:
    void init() { QFile::remove(settingsFilePath()); }

    void controlsSitWhereTheDesignPutsThem_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(layout::Controls.size()); ++row) {
            const layout::ControlSpec& design = layout::Controls.at(size_t(row));
            QTest::addRow("%s(%d)", design.name.data(), design.index) << row;
        }
    }
    void controlsSitWhereTheDesignPutsThem()
    {
        QFETCH(int, row);
        const layout::ControlSpec& design = layout::Controls.at(size_t(row));
        TestWindow window;
        QCOMPARE(window.size(), QSize(556, 354));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const QString name = layout::designText(design.name) +
                             (design.index >= 0 ? QStringLiteral("(%1)").arg(design.index) : QString());
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

    void statusBarAndSlideListFollowTheDesign()
    {
        TestWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Personal Vantelo Creator"));
        StatusBar& bar = *window.stbVantelo;
        QCOMPARE(bar.panelCount(), 6);
        const QStringList tooltips{"About Personal Vantelo Creator",
                                   "Image Path",
                                   "Image Size (Pixels)",
                                   "Image Color Depth",
                                   "Current Date",
                                   "Current Time"};
        const QList<int> lefts{0, 31, 308, 381, 428, 501, 554};
        for (int panel = 1; panel <= 6; ++panel) {
            QCOMPARE(bar.panelToolTip(panel), tooltips.at(panel - 1));
            QCOMPARE(bar.panelRect(panel).left(), lefts.at(panel - 1));
            QCOMPARE(bar.panelRect(panel).right() + 1, lefts.at(panel));
        }
        QCOMPARE(bar.panelText(2) + bar.panelText(3) + bar.panelText(4), QString());
        QCOMPARE(bar.panelText(5), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!bar.panelText(6).isEmpty());
        QVERIFY(!bar.panelText(6).contains(QTime::currentTime().toString(QStringLiteral(":mm:ss"))));

        const QTreeWidgetItem* header = window.lvwMain->headerItem();
        QCOMPARE(QStringList({header->text(0), header->text(1), header->text(2), header->text(3)}),
                 QStringList({"", "Name", "Size", "Color"}));
        QCOMPARE(window.lvwMain->columnWidth(0), 0);
        QCOMPARE(window.lvwMain->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!window.lvwMain->isSortingEnabled());
    }

    void onlyTheFirstPanelOpensTheAboutBox()
    {
        TestWindow window;
        window.show();
        QStringList opened;
        for (int panel : {2, 1, 6}) {
            test::closeWhenShown<frmAbout>(&window, [&opened](frmAbout& box) { opened << box.windowTitle(); });
            QWidget* label = window.stbVantelo->childAt(window.stbVantelo->panelRect(panel).center());
            QVERIFY(label);
            QTest::mouseClick(label, Qt::LeftButton);
            QCoreApplication::processEvents(); // let a timer left unused by another panel's click fire
        }
        QCOMPARE(opened, QStringList{QStringLiteral("About Personal Vantelo Creator")});
    }

    void loadsTheStoredSettings_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("delayText");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("buttons"); // which order option is on: "O", "R" or "-"
        QTest::addColumn<QString>("showTypeAfter");
        // clang-format off
        QTest::newRow("nothing stored")          << QStringList{} << "5" << 5000 << 0 << "O" << "Ordered";
        QTest::newRow("random order")            << QStringList{"Delay=9", "BackColor=255", "ShowType=Random"} << "9" << 9000 << 255 << "R" << "Random";
        QTest::newRow("order in other case")     << QStringList{"ShowType=random"} << "5" << 5000 << 0 << "-" << "random";
        QTest::newRow("leading zero")            << QStringList{"Delay=07"}     << "7"  << 7000  << 0 << "O" << "Ordered";
        QTest::newRow("above a minute, exact")   << QStringList{"Delay=66"}     << "66" << 66000 << 0 << "O" << "Ordered";
        QTest::newRow("empty delay falls back")  << QStringList{"Delay="}       << "5"  << 5000  << 0 << "O" << "Ordered";
        QTest::newRow("delay of letters")        << QStringList{"Delay=abc"}    << "5"  << 5000  << 0 << "O" << "Ordered";
        QTest::newRow("delay beyond 16 bits")    << QStringList{"Delay=40000"}  << "5"  << 5000  << 0 << "O" << "Ordered";
        QTest::newRow("negative delay")          << QStringList{"Delay=-3"}     << "5"  << 5000  << 0 << "O" << "Ordered";
        QTest::newRow("colour of letters")       << QStringList{"BackColor=red"} << "5" << 5000  << 0 << "O" << "Ordered";
        QTest::newRow("blue")                    << QStringList{"BackColor=16711680"} << "5" << 5000 << 16711680 << "O" << "Ordered";
        // clang-format on
    }
    void loadsTheStoredSettings()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, buttons);
        test::storeSettings(stored);
        TestWindow window; // the primary screen's work area is 1024 x 738, the screen 1024 x 768
        QVERIFY(window.fp.prompter.messages.isEmpty());
        QTEST(window.txtTimer->text(), "delayText");
        QTEST(window.Timer1->interval(), "interval");
        QVERIFY(!window.Timer1->isEnabled());
        QTEST(int(window.lngBackColor), "colour");
        QCOMPARE(window.optShowStyle[0]->isChecked(), buttons == u"O");
        QCOMPARE(window.optShowStyle[1]->isChecked(), buttons == u"R");
        QTEST(GetSetting(SettingKey::ShowType), "showTypeAfter");
        QCOMPARE(GetSetting(SettingKey::ScreenWidth), QStringLiteral("1024"));
        QCOMPARE(GetSetting(SettingKey::ScreenHeight), QStringLiteral("738"));
        if (stored.isEmpty())
            QVERIFY(GetSetting(SettingKey::Delay).isNull()); // read, never written at start
        QCOMPARE(window.cboFiletype->count(), 3);
        QCOMPARE(window.cboFiletype->itemText(0) + window.cboFiletype->itemText(1) + window.cboFiletype->itemText(2),
                 QStringLiteral("*.jpg*.bmp*.gif"));
        QCOMPARE(window.cboFiletype->currentIndex(), 0);
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(!window.imgPreview->picture().isNull());
        QVERIFY(window.lblFileName->text().isEmpty());
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
        QTest::newRow("empty") << "" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("small x is no separator") << "600 x 800" << QRectF() << int(ErrorNumber::DivisionByZero);
        QTest::newRow("width of 40000") << "600 X 40000" << QRectF() << int(ErrorNumber::Overflow);
    }
    void fitsThePreviewToTheSizeText()
    {
        QFETCH(QString, sizeText);
        QFETCH(QRectF, box);
        QFETCH(int, failure);
        TestWindow window;
        window.FitPreview(QStringLiteral("480 X 640"));
        const QRectF before = window.imgPreview->box();
        const QRect pixelsBefore = window.imgPreview->geometry();
        QCOMPARE(test::failureOf([&] { window.FitPreview(sizeText); }), failure);
        const QRectF after = window.imgPreview->box();
        if (failure != 0) {
            QCOMPARE(after, before);
            QCOMPARE(window.imgPreview->geometry(), pixelsBefore);
            return;
        }
        const qreal tolerance = std::max<qreal>(0.01, box.width() * 1e-6);
        QVERIFY2(std::abs(after.left() - box.left()) < tolerance, qPrintable(QString::number(after.left())));
        QVERIFY2(std::abs(after.width() - box.width()) < tolerance, qPrintable(QString::number(after.width())));
        QCOMPARE(after.top(), box.top());
        QCOMPARE(after.height(), box.height());
        QCOMPARE(window.imgPreview->geometry().top(), 44);
        QCOMPARE(window.imgPreview->geometry().height(), 133);
    }

    void defaultPictureRestoresTheDesignBox()
    {
        TestWindow window;
        window.FitPreview(QStringLiteral("600 X 800"));
        window.lblPicName->setText(QStringLiteral("holiday.jpg"));
        window.ShowDefaultPicture();
        QCOMPARE(window.imgPreview->box(), QRectF(204, 36, 125, 145));
        QCOMPARE(window.imgPreview->geometry(), QRect(204, 36, 125, 145));
        QVERIFY(!window.imgPreview->isHidden());
        QCOMPARE(window.imgPreview->picture().size(), QSize(125, 145));
        QCOMPARE(window.lblPicName->text(), QStringLiteral("Torvane Consulting"));
        QVERIFY(window.fp.prompter.messages.isEmpty());
    }

    // Every format and what is no picture at all are measured in tst_picturefile; a text named .jpg and a
    // missing file go through the window in tst_list.
    void measuresPictureFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<int>("failure");
        const QString folder = m_pictures.path();
        QTest::newRow("jpeg") << test::writePicture(folder, "b.jpg", 800, 600) << "600 X 800" << 0;
        QTest::newRow("damaged jpeg") << test::writeDamagedJpeg(folder, "f.jpg") << ""
                                      << int(ErrorNumber::InvalidPicture);
        QTest::newRow("missing") << QDir(folder).filePath("missing.jpg") << "" << int(ErrorNumber::FileNotFound);
    }
    void measuresPictureFiles()
    {
        QFETCH(QString, path);
        QFETCH(int, failure);
        QVERIFY(!path.isEmpty());
        test::FakePlatform fp;
        Vantelo window(fp.platform);
        QString measured;
        QCOMPARE(test::failureOf([&] { measured = window.GetPictureSize(path); }), failure);
        QTEST(measured, "sizeText");
    }
};

VANTELO_TEST_MAIN(TestConfigWindow)
#include "tst_window.moc"
