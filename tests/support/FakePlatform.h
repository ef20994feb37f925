#pragma once

#include "platform/Platform.h"

#include <QApplication>
#include <QMap>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <functional>

// Fakes for every platform seam: they record what the windows show and answer from a script, so no
// test ever blocks on a modal window.
namespace vantelo::test {

struct ShownMessage
{
    MessageIcon icon;
    QString title;
    QString text;
};

struct FakePrompter : Prompter
{
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
    std::function<void(const ShownMessage&)> onMessage; // runs while the message is "open"
};

// Answers each dialog from its queue, in order; an empty queue answers with a cancel.
struct FakeDialogs : Dialogs
{
    struct Call
    {
        QString kind, filter, initialName; // kind: "open", "save" or "color"
        QColor initialColor;
    };
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
    QQueue<QString> openAnswers, saveAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    QList<Call> calls;
};

struct FakeScreen : ScreenMetrics
{
    QRect screenGeometry() const override { return screen; }
    QRect workArea() const override { return work; }
    QRect screen{0, 0, 1024, 768};
    QRect work{0, 0, 1024, 738};
};

struct FakeRandom : RandomSource
{
    float reseedAndDraw() override { return ++reseeds, draws.isEmpty() ? 0.0f : draws.dequeue(); }
    QQueue<float> draws; // an empty queue draws 0
    int reseeds = 0;
};

// Values under "key\value name"; every read is recorded the same way, with its root.
struct FakeRegistry : Registry
{
    std::optional<RegistryValue> readValue(std::uint32_t root, const QString& key, const QString& value) override
    {
        reads.append(key + u'\\' + value);
        roots.append(root);
        return values.contains(reads.last()) ? std::optional(values.value(reads.last())) : std::nullopt;
    }
    QMap<QString, RegistryValue> values;
    QStringList reads;
    QList<std::uint32_t> roots;
};

struct FakeLauncher : Launcher
{
    bool fileExists(const QString& path) override { return existenceChecks.append(path), existingFiles.contains(path); }
    bool startProgram(const QString& program) override
    {
        startAttempts.append(program);
        if (startable.contains(program))
            started.append(program);
        return startable.contains(program);
    }
    QStringList existingFiles, startable; // any other program fails to start
    QStringList existenceChecks, startAttempts, started;
};

struct FakeProgramControl : ProgramControl
{
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
