#include "app/Module1.h"

#include "config/Vantelo.h"
#include "platform/InstanceLock.h"
#include "platform/QtPlatform.h"
#include "show/FullShow.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <memory>

namespace vantelo {

QString argumentText(int argc, char** argv)
{
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(u' ');
}

StartMode startModeFor(const QString& argumentText)
{
    qsizetype first = 0;
    qsizetype last = argumentText.size();
    while (first < last && argumentText[first] == u' ')
        ++first;
    while (last > first && argumentText[last - 1] == u' ')
        --last;
    const QString head = argumentText.mid(first, std::min<qsizetype>(2, last - first)).toLower();
    if (head == QLatin1String("/c"))
        return StartMode::Configuration;
    if (head == QLatin1String("/s"))
        return StartMode::Show;
    return StartMode::Nothing;
}

int Main(int argc, char** argv)
{
    // The instance check comes before the command line is looked at, so it holds for every mode.
    InstanceLock instanceLock;
    if (!instanceLock.tryAcquire())
        return 0;

    const StartMode mode = startModeFor(argumentText(argc, argv));
    if (mode == StartMode::Nothing)
        return 0;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Personal Vantelo"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    Platform& platform = qtPlatform();

    std::unique_ptr<Vantelo> configuration;
    QPointer<FullShow> show;
    if (mode == StartMode::Configuration) {
        configuration = std::make_unique<Vantelo>(platform);
        configuration->Form_Load();
        configuration->show();
    } else {
        show = new FullShow(platform); // deletes itself when it unloads
        show->Form_Load();
        show->show();
    }
    const int status = QApplication::exec();
    delete show.data();
    return status;
}

} // namespace vantelo
