#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QMap>
#include <QQueue>
#include <QStringList>

#include <functional>

// Fakes for every platform seam: they record what the windows show and answer from a script,
// so no test ever blocks on a modal window.
namespace vantelo::test {

struct ShownMessage
{
    MessageIcon icon;
    QString title;
    QString text;
};

class FakePrompter : public Prompter
{
public:
    void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
    void beep() override { ++beeps; }

    QList<ShownMessage> messages;
    int beeps = 0;
    // Runs while a message is "open", to check what the caller did before reporting.
    std::function<void(const ShownMessage&)> onMessage;
};

class FakeDialogs : public Dialogs
{
public:
    QString openFileName(QWidget* parent, const QString& filter, const QString& initialName) override;
    QString saveFileName(QWidget* parent, const QString& filter, const QString& initialName) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;

    // Answers in order; an empty queue answers with a cancel.
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<std::optional<QColor>> colorAnswers;

    struct Call
    {
        QString kind; // "open", "save" or "color"
        QString filter;
        QString initialName;
        QColor initialColor;
    };
    QList<Call> calls;
};

class FakeScreen : public ScreenMetrics
{
public:
    QRect screenGeometry() const override { return screen; }
    QRect workArea() const override { return work; }

    QRect screen{0, 0, 1024, 768};
    QRect work{0, 0, 1024, 738};
};

class FakeRandom : public RandomSource
{
public:
    float reseedAndDraw() override;

    QQueue<float> draws; // an empty queue draws 0
    int reseeds = 0;
};

// A registry of keys, each a map of value name to (type, bytes).
class FakeRegistry : public Registry
{
public:
    struct Value
    {
        std::uint32_t type;
        QByteArray bytes;
    };
    long openKey(std::uint32_t root, const QString& keyName, std::uint32_t accessMask,
                 std::uintptr_t& keyHandle) override;
    long queryValue(std::uintptr_t keyHandle, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                    std::uint32_t& length) override;
    long closeKey(std::uintptr_t keyHandle) override;

    QMap<QString, QMap<QString, Value>> keys;
    QStringList deniedKeys; // exist, but may not be opened with the requested access
    QList<std::uint32_t> accessMasks;
    QStringList queriedKeys; // key names whose values were queried, in order
    int openHandles = 0;

private:
    QList<QString> m_handles;
};

class FakeLauncher : public Launcher
{
public:
    bool fileExists(const QString& path) override;
    bool startProgram(const QString& program) override;

    QStringList existingFiles;
    QStringList startable; // programs that start; any other fails
    QStringList existenceChecks;
    QStringList started;
    QStringList startAttempts;
};

class FakeProgramControl : public ProgramControl
{
public:
    void endProgram() override { ++endCalls; }
    int endCalls = 0;
};

// A whole fake platform, ready to hand to a window.
struct FakePlatform
{
    FakePrompter prompter;
    FakeDialogs dialogs;
    FakeScreen screen;
    FakeRandom random;
    FakeRegistry registry;
    FakeLauncher launcher;
    FakeProgramControl program;
    Platform platform{prompter, dialogs, screen, random, registry, launcher, program};
};

} // namespace vantelo::test
