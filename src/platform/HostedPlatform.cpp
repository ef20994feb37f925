#include "platform/HostedPlatform.h"

#include <QGuiApplication>

namespace vantelo {

HostedPlatform::HostedPlatform(Platform& base, std::function<QSize()> hostSize, std::FILE* reports)
    : m_screen(std::move(hostSize)),
      m_prompter(reports), m_platform{m_prompter,    base.dialogs,  m_screen,    base.random,
                                      base.registry, base.launcher, base.program}
{
}

void HostedPlatform::StreamPrompter::showMessage(QWidget*, MessageIcon, const QString& title, const QString& text)
{
    const QString shownTitle = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
    const QByteArray line = (shownTitle + QStringLiteral(": ") + text + u'\n').toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), m_stream);
    std::fflush(m_stream);
}

} // namespace vantelo
