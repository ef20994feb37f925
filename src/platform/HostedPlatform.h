#pragma once

#include "platform/Platform.h"

#include <QSize>

#include <cstdio>
#include <functional>

namespace vantelo {

// The platform as the show sees it while it draws into a window lent by a screen-saver host. The
// host's window is the whole screen and the work area. Reports go to a text stream, the standard
// error stream by default, which the host keeps: a message box would open behind the host's window,
// where nobody can see or answer it, and the slides would wait for it for ever. Every other service
// is the base platform's.
class HostedPlatform
{
public:
    HostedPlatform(Platform& base, std::function<QSize()> hostSize, std::FILE* reports = stderr);
    HostedPlatform(const HostedPlatform&) = delete;
    HostedPlatform& operator=(const HostedPlatform&) = delete;

    Platform& platform() { return m_platform; }

private:
    class HostScreen : public ScreenMetrics
    {
    public:
        explicit HostScreen(std::function<QSize()> hostSize) : m_hostSize(std::move(hostSize)) {}
        QRect screenGeometry() const override { return QRect(QPoint(0, 0), m_hostSize()); }
        QRect workArea() const override { return screenGeometry(); }

    private:
        std::function<QSize()> m_hostSize;
    };

    // One line per report: the title, a colon and the text.
    class StreamPrompter : public Prompter
    {
    public:
        explicit StreamPrompter(std::FILE* stream) : m_stream(stream) {}
        void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
        void beep() override {}

    private:
        std::FILE* m_stream;
    };

    HostScreen m_screen;
    StreamPrompter m_prompter;
    Platform m_platform;
};

} // namespace vantelo
