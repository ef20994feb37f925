#pragma once

#include "platform/Platform.h"

#include <QApplication>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QStringList>
#include <QTimer>

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
    void showMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        messages.append({icon, title, text});
        if (onMessage)
            onMessage(messages.constLast());
    }
    void beep() override { ++beeps; }

    // Every message as one line: "! " for an exclamation mark, then "title: text".
    QStringList said() const
    {
        QStringList lines;
        for (const ShownMessage& m : messages)
            lines << (m.icon == MessageIcon::Exclamation ? QStringLiteral("! ") : QString()) + m.title +
                         QStringLiteral(": ") + m.text;
        return lines;
    }

    QList<ShownMessage> messages;
    int beeps = 0;
    // Runs while a message is "open", to check what the caller did before reporting.
    std::function<void(const ShownMessage&)> onMessage;
};

class FakeDialogs : public Dialogs
{
public:
    QString openFileName(QWidget*, const QString& filter, const QString& initialName) override
    {
        calls.append({QStringLiteral("open"), filter, initialName, {}});
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFileName(QWidget*, const QString& filter, const QString& initialName) override
    {
        calls.append({QStringLiteral("save"), filter, initialName, {}});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override
    {
        calls.append({QStringLiteral("color"), {}, {}, initial});
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
    }

    // Answers in order; an empty queue answers with a cancel.
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<std::optional<QColor>> colorAnswers;

    struct Call
    {
        QString kind, filter, initialName; // kind: "open", "save" or "color"
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
    float reseedAndDraw() override
    {
        ++reseeds;
        return draws.isEmpty() ? 0.0f : draws.dequeue();
    }

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
    long openKey(std::uint32_t, const QString& keyName, std::uint32_t accessMask, std::uintptr_t& keyHandle) override
    {
        accessMasks.append(accessMask);
        keyHandle = 0;
        if (!keys.contains(keyName))
            return 2;
        if (deniedKeys.contains(keyName))
            return 5;
        m_handles.append(keyName);
        keyHandle = std::uintptr_t(m_handles.size());
        ++openHandles;
        return 0;
    }
    long queryValue(std::uintptr_t keyHandle, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                    std::uint32_t& length) override
    {
        if (keyHandle == 0 || keyHandle > std::uintptr_t(m_handles.size()))
            return 6;
        const QString& keyName = m_handles[qsizetype(keyHandle - 1)];
        queriedKeys.append(keyName);
        if (!keys.value(keyName).contains(valueName))
            return 2;
        const Value value = keys.value(keyName).value(valueName);
        if (value.bytes.size() > buffer.size())
            return 234; // more data than the buffer holds
        std::copy(value.bytes.cbegin(), value.bytes.cend(), buffer.begin());
        length = std::uint32_t(value.bytes.size());
        type = value.type;
        return 0;
    }
    long closeKey(std::uintptr_t keyHandle) override
    {
        openHandles -= keyHandle != 0;
        return 0;
    }

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
    bool fileExists(const QString& path) override
    {
        existenceChecks.append(path);
        return existingFiles.contains(path);
    }
    bool startProgram(const QString& program) override
    {
        startAttempts.append(program);
        if (!startable.contains(program))
            return false;
        started.append(program);
        return true;
    }

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

// A window class over its own fake platform, "window.fp": the fakes are made before the window and
// outlive it.
struct FakePlatformHolder
{
    FakePlatform fp;
};
template <class Window> struct OverFakes : FakePlatformHolder, Window
{
    OverFakes() : Window(fp.platform) {}
};

// As soon as the event loop runs (inside the exec() of a modal box a test opens), hands every shown
// top-level window of type Box to seen and closes it. The timer ends with context.
template <class Box> void closeWhenShown(QObject* context, std::function<void(Box&)> seen = {})
{
    QTimer::singleShot(0, context, [seen] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<Box*>(window); box && box->isVisible()) {
                if (seen)
                    seen(*box);
                box->close();
            }
        }
    });
}

} // namespace vantelo::test
