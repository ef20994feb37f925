#include "common/Numbers.h"
#include "common/SizeText.h"
#include "settings/Settings.h"
#include "support/Failure.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QSettings>

using namespace vantelo;

namespace {

// What f gives, or "E" and its failure number.
QString outcome(const std::function<QString()>& f)
{
    QString text;
    const int failure = test::failureOf([&] { text = f(); });
    return failure ? QStringLiteral("E%1").arg(failure) : text;
}

const SettingKey* const Keys[] = {&SettingKey::ScreenWidth, &SettingKey::ScreenHeight, &SettingKey::BackColor,
                                  &SettingKey::File,        &SettingKey::Delay,        &SettingKey::ShowType};

// f of each key, in the order of Keys, joined by "|".
QString eachKey(const std::function<QString(const SettingKey&)>& f)
{
    QStringList texts;
    for (const SettingKey* key : Keys)
        texts << f(*key);
    return texts.join(u'|');
}

} // namespace

// The texts and numbers every part shares, and the settings store whose texts they convert.
class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    void errorDescriptions()
    {
        QStringList descriptions;
        for (int number : {5, 6, 7, 11, 13, 51, 52, 53, 61, 62, 68, 75, 76, 380, 481, 35600, 1})
            descriptions << QString::number(number) + u' ' + AppError(number).description();
        QCOMPARE(descriptions.join(QStringLiteral(", ")),
                 "5 Invalid procedure call or argument, 6 Overflow, 7 Out of memory, 11 Division by zero, 13 Type "
                 "mismatch, 51 Internal error, 52 Bad file name or number, 53 File not found, 61 Disk full, 62 Input "
                 "past end of file, 68 Device unavailable, 75 Path/File access error, 76 Path not found, 380 Invalid "
                 "property value, 481 Invalid picture, 35600 Index out of bounds, 1 Application-defined or "
                 "object-defined error");
    }

    // Each text as a 16-bit and a 32-bit whole number, its numeric value, and the height and width it
    // gives as a size text.
    void conversions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("int16");
        QTest::addColumn<QString>("int32");
        QTest::addColumn<QString>("numericValue");
        QTest::addColumn<QString>("sizeText");
        // clang-format off
        QTest::newRow("half down to even") << "2.5" << "2" << "2" << "2.5" << "0 2";
        QTest::newRow("half up to even") << "3.5" << "4" << "4" << "3.5" << "0 4";
        QTest::newRow("negative half to zero") << "-0.5" << "0" << "0" << "-0.5" << "0 0";
        QTest::newRow("blanks around") << "  12  " << "12" << "12" << "12" << "0 12";
        QTest::newRow("16-bit ends") << "-32768" << "-32768" << "-32768" << "-32768" << "0 -32768";
        QTest::newRow("one past 16 bits") << "32768" << "E6" << "32768" << "32768" << "E6";
        QTest::newRow("rounds past 16 bits") << "32767.5" << "E6" << "32768" << "32767.5" << "E6";
        QTest::newRow("one past 32 bits") << "2147483648" << "E6" << "E6" << "2147483648" << "E6";
        QTest::newRow("empty") << "" << "E13" << "E13" << "0" << "0 0";
        QTest::newRow("number then letters") << "  12abc" << "E13" << "E13" << "12" << "0 12";
        QTest::newRow("exponent") << "1e2" << "100" << "100" << "100" << "0 100";
        QTest::newRow("huge exponent") << "1e400" << "E6" << "E6" << "E6" << "E6";
        QTest::newRow("tiny exponent") << "1e-400" << "0" << "0" << "0" << "0 0";
        QTest::newRow("size text") << "600 X 800" << "E13" << "E13" << "600" << "600 800";
        QTest::newRow("size text, lower-case x") << "600 x 800" << "E13" << "E13" << "600" << "0 600";
        QTest::newRow("size text, second X ignored") << "1 X 2 X 3" << "E13" << "E13" << "1" << "1 2";
        QTest::newRow("size text too wide") << "10 X 40000" << "E13" << "E13" << "10" << "E6";
        // clang-format on
    }
    void conversions()
    {
        QFETCH(QString, text);
        QTEST(outcome([&] { return QString::number(textToInt16(text)); }), "int16");
        QTEST(outcome([&] { return QString::number(textToInt32(text)); }), "int32");
        QTEST(outcome([&] { return QString::number(numericValue(text), 'g', 12); }), "numericValue");
        QTEST(outcome([&] { return QString::asprintf("%d %d", readSizeText(text).height, readSizeText(text).width); }),
              "sizeText");
    }

    void init() { QFile::remove(settingsFilePath()); }

    // Each key written empty reads back empty, not as its default, and any text reads back exactly, at
    // once, from the store's file.
    void keysRoundTrip()
    {
        QCOMPARE(eachKey([](const SettingKey& key) { return key.name; }),
                 "ScreenWidth|ScreenHeight|BackColor|File|Delay|ShowType");
        QCOMPARE(settingsFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Personal Vantelo.conf");
        for (const QString text :
             {"", "  7  ", "@Variant(list)", "a=b;c#d [Settings]", "C:\\P\\\\/Ægir ☀, b.vtl", "\"x\",", "a\nb"})
            for (const SettingKey* key : Keys) {
                SaveSetting(*key, text);
                QCOMPARE(GetSetting(*key), text);
                QCOMPARE(QSettings(settingsFilePath(), QSettings::IniFormat).value("Settings/" + key->name), text);
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
        QVERIFY(content.isNull() || !test::writeSettingsFile(content).isEmpty());
        QTEST(eachKey(GetSetting), "readings");
        QCOMPARE(QFile::exists(settingsFilePath()), !content.isNull()); // reading writes nothing
        SaveSetting(SettingKey::Delay, "12");
        QCOMPARE(GetSetting(SettingKey::Delay), "12");
    }
};

VANTELO_TEST_MAIN(TestCommon)
#include "tst_common.moc"
