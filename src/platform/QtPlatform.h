#pragma once

#include "platform/Platform.h"

// The real platform: Qt message boxes and dialogs, the primary screen, a clock-seeded generator,
// detached program start. Tests use the fakes under tests/support instead.
namespace vantelo {

class QtPrompter : public Prompter
{
public:
    void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
    void beep() override;
};

class QtDialogs : public Dialogs
{
public:
    QString openFileName(QWidget* parent, const QString& filter, const QString& initialName) override;
    QString saveFileName(QWidget* parent, const QString& filter, const QString& initialName) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
};

class QtScreenMetrics : public ScreenMetrics
{
public:
    QRect screenGeometry() const override;
    QRect workArea() const override;
    QList<QRect> monitors() const override;
};

class ClockRandomSource : public RandomSource
{
public:
    float reseedAndDraw() override;
};

class QtLauncher : public Launcher
{
public:
    bool fileExists(const QString& path) override;
    bool startProgram(const QString& program) override;
};

class QtProgramControl : public ProgramControl
{
public:
    void endProgram() override;
};

// One process-wide set of the real services.
Platform& qtPlatform();

} // namespace vantelo
