#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace vantelo;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init() { QFile::remove(settingsFilePath()); }

    void storeIsPrivateToTheTest()
    {
        const QString path = settingsFilePath();
        QVERIFY2(path.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")), qPrintable(path));
        QVERIFY(path.endsWith(QStringLiteral("/Personal Vantelo.conf")));
    }

    void absentKeyGivesTheDefault()
    {
        QCOMPARE(GetSetting(SettingKey::Delay, QStringLiteral("5")), QStringLiteral("5"));
        QCOMPARE(GetSetting(SettingKey::File), QString());
        QVERIFY(!QFile::exists(settingsFilePath()));
    }

    void emptyTextIsPresentNotDefault()
    {
        SaveSetting(SettingKey::Delay, QString());
        QCOMPARE(GetSetting(SettingKey::Delay, QStringLiteral("5")), QString());
    }

    void writesThroughToTheIniFile()
    {
        SaveSetting(SettingKey::BackColor, QStringLiteral("255"));
        // Read back by an independent reader of the file: the value is on disk at once, in [Settings].
        QSettings raw(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Settings/BackColor")).toString(), QStringLiteral("255"));
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[Settings]"));
    }

    void textsRoundTripExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("spaces") << "/home/anna/My Pictures/summer list.vtl";
        QTest::newRow("comma") << "/srv/a, b/list.vtl";
        QTest::newRow("lone comma") << ",";
        QTest::newRow("quotes") << "say \"cheese\".vtl";
        QTest::newRow("equals semicolon hash") << "a=b;c#d";
        QTest::newRow("backslashes") << "C:\\Photos\\\\list.vtl";
        QTest::newRow("non-ASCII") << "/home/jürgen/Bilder/Ægir ☀.vtl";
        QTest::newRow("leading at sign") << "@Variant(list)";
        QTest::newRow("leading and trailing blanks") << "  7  ";
        QTest::newRow("brackets") << "[Settings]";
        QTest::newRow("newline") << "two\nlines";
    }
    void textsRoundTripExactly()
    {
        QFETCH(QString, value);
        SaveSetting(SettingKey::File, value);
        SaveSetting(SettingKey::ShowType, QStringLiteral("Random"));
        QCOMPARE(GetSetting(SettingKey::File), value);
        QCOMPARE(GetSetting(SettingKey::ShowType), QStringLiteral("Random"));
    }

    void handWrittenListReadsAsText()
    {
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nFile=/tmp/a, b.vtl\nDelay=7\n");
        file.close();
        QCOMPARE(GetSetting(SettingKey::File), QStringLiteral("/tmp/a, b.vtl"));
        QCOMPARE(GetSetting(SettingKey::Delay), QStringLiteral("7"));
    }

    void garbageFileStillAnswers()
    {
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(static_cast<char>((i * 7919) % 256));
        file.write(junk);
        file.close();
        QCOMPARE(GetSetting(SettingKey::Delay, QStringLiteral("5")), QStringLiteral("5"));
        SaveSetting(SettingKey::Delay, QStringLiteral("9"));
        QCOMPARE(GetSetting(SettingKey::Delay, QStringLiteral("5")), QStringLiteral("9"));
    }
};

VANTELO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
