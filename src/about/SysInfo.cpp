#include "about/SysInfo.h"

#include "common/AppError.h"

#include <QDir>

namespace vantelo {

namespace {

QString doubleWordText(const QByteArray& bytes)
{
    // Least significant byte first; a high zero byte may already have gone with the terminator cut.
    std::uint32_t value = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(bytes.size(), 4); ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return QString::number(value);
}

} // namespace

bool GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal)
{
    const std::optional<RegistryValue> value = registry.readValue(KeyRoot, KeyName, SubKeyRef);
    // A value longer than the reader's buffer is read as no value at all.
    if (!value || value->bytes.size() > RegistryBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (value->bytes.isEmpty())
        throw AppError(ErrorNumber::InvalidProcedureCall);
    QByteArray tmpVal = value->bytes;
    if (tmpVal.endsWith('\0'))
        tmpVal.chop(1);

    switch (value->type) {
    case Registry::TypeString:
        KeyVal = QString::fromLocal8Bit(tmpVal);
        break;
    case Registry::TypeDoubleWord:
        KeyVal = doubleWordText(tmpVal);
        break;
    default:
        break;
    }
    return true;
}

namespace {

// The program the registry names, or empty text when it names none that exists. The first entry
// names the program itself and is taken as it stands, unchecked; the second names a folder.
QString sysInfoProgram(Platform& platform)
{
    QString SysInfoPath;
    if (GetKeyValue(platform.registry, Registry::LocalMachine, SysInfoPathKey, SysInfoPathValue, SysInfoPath))
        return SysInfoPath;
    if (!GetKeyValue(platform.registry, Registry::LocalMachine, SysInfoFolderKey, SysInfoFolderValue, SysInfoPath))
        return {};
    SysInfoPath += QDir::separator() + SysInfoProgramName;
    return platform.launcher.fileExists(SysInfoPath) ? SysInfoPath : QString();
}

} // namespace

void StartSysInfo(Platform& platform, QWidget* parent)
{
    try {
        const QString program = sysInfoProgram(platform);
        if (!program.isEmpty() && platform.launcher.startProgram(program))
            return;
    } catch (...) {
        // Every way of not finding or not starting the tool ends in the one message below.
    }
    platform.prompter.showMessage(parent, MessageIcon::None, QString(), SysInfoUnavailableText);
}

} // namespace vantelo
