#include "platform/IniRegistry.h"

#include <QFile>
#include <QStandardPaths>

namespace vantelo {

namespace {

// An administrator's file is small; anything this large is not a store and is not read.
constexpr qint64 LargestStore = qint64(1024) * 1024;

QByteArray stringBytes(const QString& text)
{
    // A string value comes back with its terminating zero, as the registry returns it.
    return text.toUtf8() + '\0';
}

std::optional<QByteArray> doubleWordBytes(QStringView hexDigits)
{
    bool ok = false;
    const uint value = hexDigits.trimmed().toUInt(&ok, 16);
    if (!ok || hexDigits.trimmed().size() > 8)
        return std::nullopt;
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    return bytes;
}

} // namespace

const QString IniRegistry::SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString IniRegistry::SysInfoValue = QStringLiteral("PATH");

IniRegistry::IniRegistry(QString storePath, QStringList toolNames, QStringList searchPaths)
    : m_storePath(std::move(storePath)), m_toolNames(std::move(toolNames)), m_searchPaths(std::move(searchPaths))
{
}

QString IniRegistry::defaultStorePath()
{
    return QStringLiteral("/etc/xdg/Personal Vantelo/registry.ini");
}

QStringList IniRegistry::defaultToolNames()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};
}

std::optional<IniRegistry::Values> IniRegistry::readKey(const QString& keyName) const
{
    QFile file(m_storePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QByteArray content = file.read(LargestStore + 1);
    if (content.size() > LargestStore)
        return std::nullopt;
    const QString wanted = keyName.toLower();
    const QStringList lines = QString::fromUtf8(content).split(u'\n');

    std::optional<Values> found;
    bool inWantedKey = false;
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inWantedKey = line.mid(1, line.size() - 2).trimmed().toLower() == wanted;
            if (inWantedKey && !found)
                found = Values();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inWantedKey || equals <= 0)
            continue;
        const QString name = line.left(equals).trimmed().toLower();
        const QString text = line.mid(equals + 1).trimmed();
        if (text.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            if (const auto bytes = doubleWordBytes(QStringView(text).mid(6)))
                found->insert(name, {TypeDoubleWord, *bytes});
        } else {
            found->insert(name, {TypeString, stringBytes(text)});
        }
    }
    return found;
}

QString IniRegistry::findTool() const
{
    for (const QString& name : m_toolNames) {
        QString path = QStandardPaths::findExecutable(name, m_searchPaths);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

std::optional<RegistryValue> IniRegistry::readValue(std::uint32_t root, const QString& keyName,
                                                    const QString& valueName)
{
    if (root != LocalMachine)
        return std::nullopt;
    std::optional<Values> values = readKey(keyName);
    const QString pathName = SysInfoValue.toLower();
    if (keyName.compare(SysInfoKey, Qt::CaseInsensitive) == 0 && !(values && values->contains(pathName))) {
        const QString tool = findTool();
        if (!tool.isEmpty()) {
            if (!values)
                values = Values();
            values->insert(pathName, {TypeString, stringBytes(tool)});
        }
    }
    if (!values)
        return std::nullopt;
    const auto value = values->constFind(valueName.toLower());
    if (value == values->cend())
        return std::nullopt;
    return *value;
}

} // namespace vantelo
