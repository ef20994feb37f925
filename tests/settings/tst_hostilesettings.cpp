#include "HostileSettings.h"
#include "common/Numbers.h"
#include "slidelist/SlideListFile.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace vantelo;
using namespace vantelo::test;

namespace {

void writeStore(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
    QFile store(settingsFilePath());
    if (!store.open(QIODevice::WriteOnly | QIODevice::Truncate) || store.write(content) != content.size())
        qFatal("cannot write the settings file %s", qPrintable(store.fileName()));
}

bool isInt16Key(const QString& key)
{
    return key == SettingKey::ScreenWidth || key == SettingKey::ScreenHeight || key == SettingKey::Delay;
}

} // namespace

// Whatever the settings file holds, each reader gets a text back and its conversion either gives
// a number or fails with the conversion's own error; nothing crashes, nothing else is thrown.
class TestHostileSettings : public QObject
{
    Q_OBJECT
private slots:
    void readersGetTextAndConversionsFailCleanly_data()
    {
        QTest::addColumn<int>("index");
        const QList<HostileSettingsFile> files = hostileSettingsFiles();
        for (int i = 0; i < files.size(); ++i)
            QTest::newRow(qPrintable(files[i].tag)) << i;
    }
    void readersGetTextAndConversionsFailCleanly()
    {
        QFETCH(int, index);
        const HostileSettingsFile file = hostileSettingsFiles().at(index);
        writeStore(file.content);

        for (const HostileReading& reading : file.readings) {
            const QString text = GetSetting(reading.key, settingDefault(reading.key));
            QCOMPARE(text, reading.text.value_or(settingDefault(reading.key)));
            if (reading.key == SettingKey::ShowType || reading.key == SettingKey::File)
                continue;
            int failure = 0;
            qint64 value = 0;
            try {
                value = isInt16Key(reading.key) ? qint64(textToInt16(text)) : qint64(textToInt32(text));
            } catch (const AppError& e) {
                failure = e.number();
            }
            QCOMPARE(failure, reading.failure);
            QCOMPARE(value, failure ? 0 : reading.value);
        }
    }

    // The show hands "File" to the list reader as it stands: a ten-megabyte path names nothing
    // that can exist and is reported as missing (at that length Qt no longer tells the folder
    // from the file, so either report may come).
    void aHugeFileSettingIsReportedAsMissing()
    {
        const QString path = u'/' + QString(10 * 1024 * 1024, u'a') + QStringLiteral("/list.vtl");
        SaveSetting(SettingKey::File, path);
        SlideRows rows;
        int failure = 0;
        try {
            ReadSlideList(GetSetting(SettingKey::File), rows);
        } catch (const AppError& e) {
            failure = e.number();
        }
        QVERIFY2(failure == ErrorNumber::FileNotFound || failure == ErrorNumber::PathNotFound,
                 qPrintable(QString::number(failure)));
        QVERIFY(rows.isEmpty());
    }

    // A value written back over a broken store reads back, so the window's own saves still work.
    void savingOverAHostileStoreWorks()
    {
        for (const HostileSettingsFile& file : hostileSettingsFiles()) {
            writeStore(file.content);
            SaveSetting(SettingKey::Delay, QStringLiteral("12"));
            QCOMPARE(GetSetting(SettingKey::Delay), QStringLiteral("12"));
        }
    }
};

VANTELO_TEST_MAIN(TestHostileSettings)
#include "tst_hostilesettings.moc"
