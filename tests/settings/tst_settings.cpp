#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QSettings>

using namespace vantelo;

namespace {

const SettingKey* const Keys[] = {&SettingKey::ScreenWidth, &SettingKey::ScreenHeight, &SettingKey::BackColor,
                                  &SettingKey::File,        &SettingKey::Delay,        &SettingKey::ShowType};

// What each reader gets, in the order of Keys, joined by "|".
QString readings()
{
    QStringList texts;
    for (const SettingKey* key : Keys)
        texts << GetSetting(*key);
    return texts.join(u'|');
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init() { QFile::remove(settingsFilePath()); }

    void keys_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("readerDefault");
        QTest::newRow("ScreenWidth") << 0 << "800";
        QTest::newRow("ScreenHeight") << 1 << "600";
        QTest::newRow("BackColor") << 2 << "0";
        QTest::newRow("File") << 3 << "";
        QTest::newRow("Delay") << 4 << "5";
        QTest::newRow("ShowType") << 5 << "Ordered";
    }
    void keys()
    {
        QFETCH(int, index);
        const SettingKey& key = *Keys[index];
        QCOMPARE(key.name, QTest::currentDataTag());
        QTEST(GetSetting(key), "readerDefault"); // never written
        QVERIFY(!QFile::exists(settingsFilePath()));
        SaveSetting(key, QString());
        QCOMPARE(GetSetting(key), QString()); // written empty: present, not the default
        SaveSetting(key, QStringLiteral("7"));
        // On disk at once, in the user's config folder, under the section "Settings".
        QCOMPARE(settingsFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Personal Vantelo.conf");
        QCOMPARE(QSettings(settingsFilePath(), QSettings::IniFormat).value("Settings/" + key.name), "7");
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
        QTest::newRow("blanks around") << "  7  ";
        QTest::newRow("brackets") << "[Settings]";
        QTest::newRow("newline") << "two\nlines";
    }
    void textsRoundTripExactly()
    {
        QFETCH(QString, value);
        SaveSetting(SettingKey::File, value);
        SaveSetting(SettingKey::ShowType, QStringLiteral("Random"));
        QCOMPARE(readings(), "800|600|0|" + value + "|5|Random");
    }

    // Stores written by hand or broken: every reader still gets a text, and saving still works.
    void hostileStores_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("readings"); // ScreenWidth|ScreenHeight|BackColor|File|Delay|ShowType
        QByteArray garbage;
        for (int i = 0; i < 64 * 1024; ++i)
            garbage.append(char((i * 7919 + i / 251) % 256 == '=' ? 0 : (i * 7919 + i / 251) % 256));
        // clang-format off
        QTest::newRow("binary garbage") << garbage << "800|600|0||5|Ordered";
        QTest::newRow("garbage around the section") << QByteArray("\xFF\xFE\x00\x01\n[Settings]\nDelay=\x01\x02\x03\nBackColor=\xC3\x28\n", 39) + garbage.left(300) << "800|600|\uFFFD(||\x01\x02\x03|Ordered";
        QTest::newRow("hand-written list") << QByteArray("[Settings]\nFile=/tmp/a, b.vtl\nDelay=7\n") << "800|600|0|/tmp/a, b.vtl|7|Ordered";
        QTest::newRow("the store's own notations") << QByteArray("[Settings]\nDelay=@Rect(1 2 3 4)\nScreenWidth=@Variant(\\xff\\xff\\xff\\xff)\nFile=@Variant(\\0\\0\\0\\v\\0\\x7f\\xff\\xff\\xff)\nShowType=\"Ordered\"\nBackColor=255;a comment\n") << "800|600|255|||Ordered";
        QTest::newRow("keys outside the section") << QByteArray("Delay=7\n[General]\nBackColor=9\n[settings]\nShowType=Random\n") << "800|600|0||5|Ordered";
        // clang-format on
    }
    void hostileStores()
    {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
        QFile store(settingsFilePath());
        QVERIFY(store.open(QIODevice::WriteOnly) && store.write(content) == content.size());
        store.close();
        QTEST(readings(), "readings");
        SaveSetting(SettingKey::Delay, QStringLiteral("12"));
        QCOMPARE(GetSetting(SettingKey::Delay), "12");
    }
};

VANTELO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
