#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QSettings>

using namespace vantelo;

namespace {

const SettingKey* const Keys[] = {&SettingKey::ScreenWidth, &SettingKey::ScreenHeight, &SettingKey::BackColor,
                                  &SettingKey::File,        &SettingKey::Delay,        &SettingKey::ShowType};

// What each reader gets, in the order of Keys, joined by "|".
QString readerTexts()
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

    // Each key written empty reads back empty, not as its default, and any text reads back exactly, at
    // once, from the store's file.
    void keysRoundTrip()
    {
        QStringList names;
        for (const SettingKey* key : Keys)
            names << key->name;
        QCOMPARE(names.join(u'|'), "ScreenWidth|ScreenHeight|BackColor|File|Delay|ShowType");
        QCOMPARE(settingsFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Personal Vantelo.conf");
        for (const QString text :
             {"", "  7  ", "@Variant(list)", "a=b;c#d [Settings]", "C:\\P\\\\/Ægir ☀, b.vtl", "\"x\",", "a\nb"}) {
            for (const SettingKey* key : Keys) {
                SaveSetting(*key, text);
                QCOMPARE(GetSetting(*key), text);
                QCOMPARE(QSettings(settingsFilePath(), QSettings::IniFormat).value("Settings/" + key->name), text);
            }
        }
    }

    // What each reader gets from a store never written, written by hand or broken; saving works after.
    void readings_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no store file
        QTest::addColumn<QString>("readings");   // ScreenWidth|ScreenHeight|BackColor|File|Delay|ShowType
        // clang-format off
        QTest::newRow("never written: the readers' defaults") << QByteArray() << "800|600|0||5|Ordered";
        QTest::newRow("binary garbage") << QByteArray("\xFF\xFE\x00\x01\x80[\x9C\x00\n\x01\xFF", 12).repeated(999) << "800|600|0||5|Ordered";
        QTest::newRow("garbage around the section") << QByteArray("\xFF\xFE\x00\x01\n[Settings]\nDelay=\x01\x02\x03\nBackColor=\xC3\x28\n\x9C\x00", 41) << "800|600|\uFFFD(||\x01\x02\x03|Ordered";
        QTest::newRow("hand-written list") << QByteArray("[Settings]\nFile=/tmp/a, b.vtl\nDelay=7\n") << "800|600|0|/tmp/a, b.vtl|7|Ordered";
        QTest::newRow("the store's own notations") << QByteArray("[Settings]\nDelay=@Rect(1 2 3 4)\nScreenWidth=@Variant(\\xff\\xff\\xff\\xff)\nFile=@Variant(\\0\\0\\0\\v\\0\\x7f\\xff\\xff\\xff)\nShowType=\"Ordered\"\nBackColor=255;a comment\n") << "800|600|255|||Ordered";
        QTest::newRow("keys outside the section") << QByteArray("Delay=7\n[General]\nBackColor=9\n[settings]\nShowType=Random\n") << "800|600|0||5|Ordered";
        // clang-format on
    }
    void readings()
    {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
        QFile store(settingsFilePath());
        QVERIFY(content.isNull() || (store.open(QIODevice::WriteOnly) && store.write(content) == content.size()));
        store.close();
        QTEST(readerTexts(), "readings");
        QCOMPARE(QFile::exists(settingsFilePath()), !content.isNull()); // reading writes nothing
        SaveSetting(SettingKey::Delay, "12");
        QCOMPARE(GetSetting(SettingKey::Delay), "12");
    }
};

VANTELO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
