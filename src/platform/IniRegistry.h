#pragma once

#include "platform/Platform.h"

#include <QMap>
#include <QStringList>

#include <optional>

// The machine's registry as the program sees it where the operating system has none: a read-only
// INI file kept by the administrator. Each section is a key, named by its path below the
// local-machine root; each line in it is a value:
//
//     [SOFTWARE\Microsoft\Shared Tools\MSINFO]
//     PATH=/usr/bin/hardinfo
//     Level=dword:0000002a
//
// "name=text" is a string value, "name=dword:hex" a double word. Key and value names match without
// regard to letter case, as the registry's do; lines starting with ";" or "#" are comments.
//
// So that the About box's "System Info..." button is useful on a machine whose store says nothing,
// the store answers the value "PATH" of the system information key itself when the file has no
// such value: it names the first of a short list of system information programs found on the
// search path (see defaultToolNames()).
namespace vantelo {

class IniRegistry : public Registry
{
public:
    // searchPaths empty means the PATH environment variable.
    explicit IniRegistry(QString storePath = defaultStorePath(), QStringList toolNames = defaultToolNames(),
                         QStringList searchPaths = {});

    // /etc/xdg/Personal Vantelo/registry.ini
    static QString defaultStorePath();
    // hardinfo, kinfocenter, gnome-system-monitor: tried in this order.
    static QStringList defaultToolNames();

    // The key and value the About box reads first to find the system information program.
    static const QString SysInfoKey;
    static const QString SysInfoValue;

    std::optional<RegistryValue> readValue(std::uint32_t root, const QString& keyName,
                                           const QString& valueName) override;

private:
    using Values = QMap<QString, RegistryValue>; // by lower-cased value name

    // The values of one key as the file holds them now, or nothing when the file has no such key.
    std::optional<Values> readKey(const QString& keyName) const;
    QString findTool() const;

    QString m_storePath;
    QStringList m_toolNames;
    QStringList m_searchPaths;
};

} // namespace vantelo
