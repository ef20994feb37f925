#include "show/FullShow.h"

namespace vantelo {

FullShow::FullShow(Platform& platform, QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint), m_platform(platform)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Personal Vantelo"));
}

void FullShow::Form_Load() {}

} // namespace vantelo
