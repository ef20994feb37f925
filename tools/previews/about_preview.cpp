#include "about/frmAbout.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

// Usage: about_preview [owner caption]
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Personal Vantelo"));
    QWidget owner;
    owner.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Personal Vantelo Creator"));
    owner.resize(556, 354);
    owner.show();
    QTimer::singleShot(0, &owner, [&owner] {
        vantelo::openAboutForPanel(vantelo::AboutPanel, &owner, vantelo::qtPlatform());
        QApplication::quit();
    });
    return QApplication::exec();
}
