#include "ConfigTest.h"
#include "config/WindowTimer.h"
#include "support/TestMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace vantelo;
using test::TestWindow;

Q_DECLARE_METATYPE(QList<Qt::Key>)

class TestShowSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(settingsFilePath()); }

    void setTimerStoresDelaysBelowAMinute_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("interval");
        QTest::newRow("7") << "7" << true << 7000;
        QTest::newRow("leading zero kept") << "05" << true << 5000;
        QTest::newRow("59") << "59" << true << 59000;
        QTest::newRow("60") << "60" << false << 9000;
        QTest::newRow("99") << "99" << false << 9000;
        QTest::newRow("emptied box") << "" << false << 9000;
        QTest::newRow("pasted letters") << "ab" << false << 9000;
        QTest::newRow("pasted digit and letter") << "7a" << false << 9000;
        QTest::newRow("pasted negative") << "-5" << false << 9000;
        QTest::newRow("pasted blank before a digit") << " 7" << true << 7000;
    }
    void setTimerStoresDelaysBelowAMinute()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        SaveSetting(SettingKey::Delay, QStringLiteral("9"));
        TestWindow window;
        window.txtTimer->setText(text);
        QTest::mouseClick(window.cmdTimer, Qt::LeftButton);
        QTEST(window.Timer1->interval(), "interval");
        QCOMPARE(window.fp.prompter.said(),
                 accepted ? QStringList() : QStringList{test::warning("Select a Value Less than 60")});
        QCOMPARE(GetSetting(SettingKey::Delay), accepted ? text : QStringLiteral("9"));
        QCOMPARE(window.txtTimer->text(), accepted ? text : QStringLiteral("5"));
    }

    void delayBoxTakesOnlyTypedDigits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QList<Qt::Key>>("keys");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("beeps");
        QTest::newRow("digit") << "" << QList<Qt::Key>{Qt::Key_7} << "7" << 0;
        QTest::newRow("letter") << "5" << QList<Qt::Key>{Qt::Key_A} << "5" << 1;
        QTest::newRow("blank") << "5" << QList<Qt::Key>{Qt::Key_Space} << "5" << 1;
        QTest::newRow("sign") << "5" << QList<Qt::Key>{Qt::Key_Minus} << "5" << 1;
        QTest::newRow("backspace is typed, so refused") << "57" << QList<Qt::Key>{Qt::Key_Backspace} << "57" << 1;
        QTest::newRow("enter") << "5" << QList<Qt::Key>{Qt::Key_Return} << "5" << 1;
        QTest::newRow("delete edits") << "57" << QList<Qt::Key>{Qt::Key_Home, Qt::Key_Delete} << "7" << 0;
        QTest::newRow("arrows move") << "5" << QList<Qt::Key>{Qt::Key_Left, Qt::Key_1} << "15" << 0;
    }
    void delayBoxTakesOnlyTypedDigits()
    {
        QFETCH(QString, before);
        QFETCH(QList<Qt::Key>, keys);
        TestWindow window;
        window.txtTimer->setText(before);
        window.txtTimer->end(false);
        for (Qt::Key key : keys)
            QTest::keyClick(window.txtTimer, key);
        QTEST(window.txtTimer->text(), "after");
        QTEST(window.fp.prompter.beeps, "beeps");
    }

    void orderOptionsAreStoredAtOnce()
    {
        TestWindow window;
        QTest::mouseClick(window.optShowStyle[1], Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::ShowType), QStringLiteral("Random"));
        QTest::mouseClick(window.optShowStyle[0], Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::ShowType), QStringLiteral("Ordered"));
    }

    void colourDialogStartsOnTheColourLastChosenHere()
    {
        SaveSetting(SettingKey::BackColor, QStringLiteral("16711680"));
        TestWindow window;
        test::FakePlatform& fp = window.fp;
        fp.dialogs.colorAnswers << std::nullopt << QColor(255, 0, 0) << std::nullopt;
        QCOMPARE(window.lngBackColor, 16711680);

        // A cancel before any choice keeps the dialog's black, not the stored blue.
        QTest::mouseClick(window.cmdColor, Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::BackColor), QStringLiteral("0"));
        QCOMPARE(window.lngBackColor, 0);

        QTest::mouseClick(window.cmdColor, Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::BackColor), QStringLiteral("255"));
        QCOMPARE(window.lngBackColor, 255);

        QTest::mouseClick(window.cmdColor, Qt::LeftButton);
        QCOMPARE(GetSetting(SettingKey::BackColor), QStringLiteral("255"));

        QCOMPARE(fp.dialogs.calls.size(), 3);
        QCOMPARE(fp.dialogs.calls[0].initialColor, QColor(Qt::black));
        QCOMPARE(fp.dialogs.calls[1].initialColor, QColor(Qt::black));
        QCOMPARE(fp.dialogs.calls[2].initialColor, QColor(255, 0, 0));
        QVERIFY(fp.prompter.messages.isEmpty());
    }

    void exitStoresEverythingAndEnds_data()
    {
        QTest::addColumn<QString>("delayText");
        QTest::addColumn<QString>("listFile");
        QTest::addColumn<int>("order"); // -1: neither button on
        QTest::addColumn<QString>("storedDelay");
        QTest::addColumn<QString>("storedFile");
        QTest::addColumn<QString>("storedOrder");
        const QString earlier = QStringLiteral("/home/ann/earlier.vtl");
        const QString shown = QStringLiteral("/home/ann/holiday.vtl");
        QTest::newRow("typed, never set") << "75" << shown << 1 << "75" << shown << "Random";
        QTest::newRow("leading zero") << "05" << shown << 0 << "05" << shown << "Ordered";
        QTest::newRow("label emptied by a folder change") << "7"
                                                          << "" << 0 << "7" << earlier << "Ordered";
        QTest::newRow("emptied box stores the default") << "" << shown << 0 << "5" << shown << "Ordered";
        QTest::newRow("pasted letters store the default") << "ab" << shown << 0 << "5" << shown << "Ordered";
        QTest::newRow("pasted digit and letter store the default") << "7a" << shown << 0 << "5" << shown << "Ordered";
        QTest::newRow("neither order on") << "7" << shown << -1 << "7" << shown << "random";
    }
    void exitStoresEverythingAndEnds()
    {
        QFETCH(QString, delayText);
        QFETCH(QString, listFile);
        QFETCH(int, order);
        SaveSetting(SettingKey::File, QStringLiteral("/home/ann/earlier.vtl"));
        SaveSetting(SettingKey::BackColor, QStringLiteral("255"));
        SaveSetting(SettingKey::ShowType, order < 0 ? QStringLiteral("random") : QStringLiteral("Ordered"));
        TestWindow window;
        window.fp.dialogs.colorAnswers << QColor(0, 255, 0);
        if (order == 1)
            window.optShowStyle[1]->setChecked(true);
        QTest::mouseClick(window.cmdColor, Qt::LeftButton);
        SaveSetting(SettingKey::BackColor, QStringLiteral("255")); // only the exit can bring it back
        window.txtTimer->setText(delayText);
        window.lblFileName->setText(listFile);
        SaveSetting(SettingKey::ShowType, order < 0 ? QStringLiteral("random") : QStringLiteral("Ordered"));

        QTest::mouseClick(window.cmdExit, Qt::LeftButton);
        QCOMPARE(window.fp.program.endCalls, 1);
        QTEST(GetSetting(SettingKey::Delay), "storedDelay");
        QCOMPARE(GetSetting(SettingKey::BackColor), QStringLiteral("65280"));
        QTEST(GetSetting(SettingKey::File), "storedFile");
        QTEST(GetSetting(SettingKey::ShowType), "storedOrder");
        QVERIFY(window.fp.prompter.messages.isEmpty());
    }

    void escapeRunsTheExit_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("delay box") << "txtTimer";
        QTest::newRow("slide list") << "lvwMain";
        QTest::newRow("file types, closed") << "cboFiletype";
        QTest::newRow("file list") << "FileList";
    }
    void escapeRunsTheExit()
    {
        QFETCH(QString, focus);
        TestWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* control = window.findChild<QWidget*>(focus);
        QVERIFY(control);
        control->setFocus();
        window.txtTimer->setText(QStringLiteral("42"));
        QTest::keyClick(control, Qt::Key_Escape);
        QCOMPARE(window.fp.program.endCalls, 1);
        QCOMPARE(GetSetting(SettingKey::Delay), QStringLiteral("42"));
    }

    void escapeInAnOpenDropDownOnlyClosesIt()
    {
        TestWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.cboFiletype->showPopup();
        QAbstractItemView* dropDown = window.cboFiletype->view();
        QTRY_VERIFY(dropDown->isVisible());
        QTest::keyClick(dropDown, Qt::Key_Escape);
        QTRY_VERIFY(!dropDown->isVisible());
        QCOMPARE(window.fp.program.endCalls, 0);
        QCOMPARE(GetSetting(SettingKey::Delay), QString());
    }
};

VANTELO_TEST_MAIN(TestShowSettings)
#include "tst_showsettings.moc"
