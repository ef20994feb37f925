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

// Every message as one line: "! " for an exclamation mark, then "title: text".
struct FakePrompter : Prompter
{
    void showMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        m_said << (icon == MessageIcon::Exclamation ? u"! "_qs : QString()) + title + u": "_qs + text;
        if (onMessage)
            onMessage(m_said.constLast());
    }
    void beep() override { ++beeps; }
    QStringList said() const { return m_said; }
    int beeps = 0;
    std::function<void(const QString& line)> onMessage; // runs while the message is "open"

private:
    QStringList m_said;
};

// Answers each dialog from its queue, in order (an empty queue answers with a cancel), and records each
// call as "open(initial name filter)", "save(...)" or "color(#rrggbb)".
struct FakeDialogs : Dialogs
{
    QString openFileName(QWidget*, const QString& filter, const QString& initial) override
    {
        return calls << u"open(%1 %2)"_qs.arg(initial, filter),
               openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFileName(QWidget*, const QString& filter, const QString& initial) override
    {
        return calls << u"save(%1 %2)"_qs.arg(initial, filter),
               saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override
    {
        return calls << u"color(%1)"_qs.arg(initial.name()),
               colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
    }
    QQueue<QString> openAnswers, saveAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    QStringList calls;
};

struct FakeScreen : ScreenMetrics
{
    QRect screenGeometry() const override { return screen; }
    QRect workArea() const override { return work; }
    QRect screen{0, 0, 1024, 768}, work{0, 0, 1024, 738};
};

struct FakeRandom : RandomSource
{
    float reseedAndDraw() override { return draws.isEmpty() ? 0.0f : draws.dequeue(); }
    QQueue<float> draws; // an empty queue draws 0
};

// The About box's seams: the keys of the registry's local-machine root, the files that exist, and
// what was asked of them, in order. A program starts when its file exists.
struct FakeRegistryAndLauncher : Registry, Launcher
{
    std::optional<RegistryValue> readValue(std::uint32_t root, const QString& key, const QString& value) override
    {
        if (root != LocalMachine || !keys.value(key).contains(value))
            return std::nullopt;
        return keys[key][value];
    }
    bool fileExists(const QString& path) override { return asked << u"exists? "_qs + path, existing.contains(path); }
    bool startProgram(const QString& path) override { return asked << u"start "_qs + path, existing.contains(path); }
    QMap<QString, QMap<QString, RegistryValue>> keys; // by key, then by value name
    QStringList existing, asked;
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
    FakeRegistryAndLauncher about;
    FakeProgramControl program;
    Platform platform{prompter, dialogs, screen, random, about, about, program};
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
