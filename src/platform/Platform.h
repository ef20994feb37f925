#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

// The platform services the windows use, each behind a small interface so that tests can hand in
// fakes that record what was shown and answer dialogs from a script. The real program passes the
// Qt-backed implementation (QtPlatform.h).
namespace vantelo {

enum class MessageIcon { None, Exclamation };

class Prompter
{
public:
    virtual ~Prompter() = default;
    // A modal message box with one OK button. An empty title stands for the application's title.
    virtual void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
    virtual void beep() = 0;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // Each returns the chosen full path, or an empty text when the user cancelled.
    // filter is in Qt's form, for example "Vantelo Files (*.vtl)".
    virtual QString openFileName(QWidget* parent, const QString& filter, const QString& initialName) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& filter, const QString& initialName) = 0;
    // The colour chosen, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
};

class ScreenMetrics
{
public:
    virtual ~ScreenMetrics() = default;
    virtual QRect screenGeometry() const = 0; // the whole primary screen, in pixels
    virtual QRect workArea() const = 0;       // the screen less what the desktop reserves (panels, task bar)
    // Every monitor, the primary screen first; the show covers them all.
    virtual QList<QRect> monitors() const { return {screenGeometry()}; }
};

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Re-seeds from the clock, then draws one single-precision number uniform in [0, 1).
    virtual float reseedAndDraw() = 0;
};

// Read access to the machine's registry.
struct RegistryValue
{
    std::uint32_t type = 0;
    QByteArray bytes; // as the registry holds them: a string with its terminating zero
};

class Registry
{
public:
    virtual ~Registry() = default;
    static constexpr std::uint32_t LocalMachine = 0x80000002u;
    static constexpr std::uint32_t TypeString = 1;
    static constexpr std::uint32_t TypeDoubleWord = 4;

    // The value valueName of the key keyName under root, or nothing when the key or the value is
    // missing or cannot be read.
    virtual std::optional<RegistryValue> readValue(std::uint32_t root, const QString& keyName,
                                                   const QString& valueName) = 0;
};

class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool fileExists(const QString& path) = 0;
    // Starts the program detached; false when it cannot be started.
    virtual bool startProgram(const QString& program) = 0;
};

class ProgramControl
{
public:
    virtual ~ProgramControl() = default;
    // Ends the process at once: every window closes and no further handler runs.
    virtual void endProgram() = 0;
};

// Everything a window needs from the platform, handed to its constructor.
struct Platform
{
    Prompter& prompter;
    Dialogs& dialogs;
    ScreenMetrics& screen;
    RandomSource& random;
    Registry& registry;
    Launcher& launcher;
    ProgramControl& program;
};

} // namespace vantelo
