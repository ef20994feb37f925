#include "support/FakePlatform.h"

namespace vantelo::test {

void FakePrompter::showMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text)
{
    messages.append({icon, title, text});
    if (onMessage)
        onMessage(messages.constLast());
}

QString FakeDialogs::openFileName(QWidget*, const QString& filter, const QString& initialName)
{
    calls.append({QStringLiteral("open"), filter, initialName, {}});
    return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
}

QString FakeDialogs::saveFileName(QWidget*, const QString& filter, const QString& initialName)
{
    calls.append({QStringLiteral("save"), filter, initialName, {}});
    return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
}

std::optional<QColor> FakeDialogs::chooseColor(QWidget*, const QColor& initial)
{
    calls.append({QStringLiteral("color"), {}, {}, initial});
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

float FakeRandom::reseedAndDraw()
{
    ++reseeds;
    return draws.isEmpty() ? 0.0f : draws.dequeue();
}

long FakeRegistry::openKey(std::uint32_t, const QString& keyName, std::uint32_t accessMask, std::uintptr_t& keyHandle)
{
    accessMasks.append(accessMask);
    keyHandle = 0;
    if (!keys.contains(keyName))
        return 2;
    if (deniedKeys.contains(keyName))
        return 5;
    m_handles.append(keyName);
    keyHandle = static_cast<std::uintptr_t>(m_handles.size());
    ++openHandles;
    return 0;
}

long FakeRegistry::queryValue(std::uintptr_t keyHandle, const QString& valueName, std::uint32_t& type,
                              QByteArray& buffer, std::uint32_t& length)
{
    if (keyHandle == 0 || keyHandle > static_cast<std::uintptr_t>(m_handles.size()))
        return 6;
    const QString& keyName = m_handles[static_cast<qsizetype>(keyHandle - 1)];
    queriedKeys.append(keyName);
    const auto values = keys.value(keyName);
    if (!values.contains(valueName))
        return 2;
    const Value value = values.value(valueName);
    if (value.bytes.size() > buffer.size())
        return 234; // more data than the buffer holds
    std::copy(value.bytes.cbegin(), value.bytes.cend(), buffer.begin());
    length = static_cast<std::uint32_t>(value.bytes.size());
    type = value.type;
    return 0;
}

long FakeRegistry::closeKey(std::uintptr_t keyHandle)
{
    if (keyHandle != 0)
        --openHandles;
    return 0;
}

bool FakeLauncher::fileExists(const QString& path)
{
    existenceChecks.append(path);
    return existingFiles.contains(path);
}

bool FakeLauncher::startProgram(const QString& program)
{
    startAttempts.append(program);
    if (!startable.contains(program))
        return false;
    started.append(program);
    return true;
}

} // namespace vantelo::test
