#include "about/AboutContent.h"

namespace vantelo {

QString aboutCaption(const QString& ownerCaption)
{
    return QStringLiteral("About ") + ownerCaption;
}

QString aboutVersionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(VANTELO_VERSION_MAJOR)
        .arg(VANTELO_VERSION_MINOR)
        .arg(VANTELO_VERSION_REVISION);
}

} // namespace vantelo
