#include "config/Vantelo.h"
#include "platform/QtPlatform.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

// Opens the configuration window with the given pictures in its slide list and starts the small
// demonstration, to look at it (for instance under Xvfb). Its settings live in a temporary folder,
// so the user's own are never touched. Built on request only and never installed.
// Usage: demo_preview [--random] [--delay seconds] picture...
int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Personal Vantelo"));

    QStringList pictures = QApplication::arguments().mid(1);
    bool random = false;
    QString delay = QStringLiteral("1");
    while (!pictures.isEmpty() && pictures.first().startsWith(QStringLiteral("--"))) {
        const QString option = pictures.takeFirst();
        if (option == QStringLiteral("--random"))
            random = true;
        else if (option == QStringLiteral("--delay") && !pictures.isEmpty())
            delay = pictures.takeFirst();
    }
    vantelo::SaveSetting(vantelo::SettingKey::File, home.filePath(QStringLiteral("preview.vtl")));
    vantelo::SaveSetting(vantelo::SettingKey::Delay, delay);
    vantelo::SaveSetting(vantelo::SettingKey::ShowType, random ? QStringLiteral("Random") : QStringLiteral("Ordered"));

    vantelo::Vantelo window(vantelo::qtPlatform());
    window.Form_Load();
    for (const QString& picture : pictures) {
        const QFileInfo file(picture);
        const QString folder = QDir::toNativeSeparators(file.absolutePath()) + QDir::separator();
        const QString sizeText = window.GetPictureSize(file.absoluteFilePath());
        window.lvwMain->addTopLevelItem(new QTreeWidgetItem({folder, file.fileName(), sizeText, QString()}));
    }
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.cmdDemoSM->click(); });
    return QApplication::exec();
}
