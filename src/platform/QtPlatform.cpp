#include "platform/QtPlatform.h"

#include "platform/IniRegistry.h"
#include "platform/WindowsRegistry.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>

#include <chrono>
#include <random>

namespace vantelo {

void QtPrompter::showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text)
{
    // Raised by a window not shown yet (its load runs first), the box is centred on the screen: on the
    // window it would go where the window has not been placed yet.
    QWidget* placedBy = parent && parent->window()->isVisible() ? parent : nullptr;
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title.isEmpty() ? QGuiApplication::applicationDisplayName() : title, text, QMessageBox::Ok,
                    placedBy);
    // A message is answered, never minimised or maximised: a title and a close button are all it gets
    // from the window manager.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    // A report raised by a full-screen window must never end up behind it, out of the user's reach.
    if (parent && (parent->window()->windowFlags() & Qt::WindowStaysOnTopHint))
        flags |= Qt::WindowStaysOnTopHint;
    box.setWindowFlags(flags);
    if (!placedBy) {
        box.adjustSize();
        box.move(box.screen()->availableGeometry().center() - box.rect().center());
    }
    box.exec();
}

void QtPrompter::beep()
{
    QApplication::beep();
}

QString QtDialogs::openFileName(QWidget* parent, const QString& filter, const QString& initialName)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& filter, const QString& initialName)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QRect QtScreenMetrics::screenGeometry() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

QRect QtScreenMetrics::workArea() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

QList<QRect> QtScreenMetrics::monitors() const
{
    QList<QRect> geometries{screenGeometry()};
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            geometries.append(screen->geometry());
    }
    return geometries;
}

float ClockRandomSource::reseedAndDraw()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::mt19937 generator(
        static_cast<std::mt19937::result_type>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    // 24 random bits over 2^24: uniform in [0, 1) and never rounds up to 1.
    return static_cast<float>(generator() >> 8) / 16777216.0f;
}

bool QtLauncher::fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool QtLauncher::startProgram(const QString& program)
{
    return QProcess::startDetached(program, {});
}

void QtProgramControl::endProgram()
{
    // Leave the event loop before any other event is processed; main() then releases the instance
    // lock and the process ends. Settings are already on disk: every write syncs.
    QCoreApplication::exit(0);
}

Platform& qtPlatform()
{
    static QtPrompter prompter;
    static QtDialogs dialogs;
    static QtScreenMetrics screen;
    static ClockRandomSource random;
#ifdef Q_OS_WIN
    static WindowsRegistry registry;
#else
    static IniRegistry registry;
#endif
    static QtLauncher launcher;
    static QtProgramControl program;
    static Platform platform{prompter, dialogs, screen, random, registry, launcher, program};
    return platform;
}

} // namespace vantelo
