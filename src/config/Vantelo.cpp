#include "config/Vantelo.h"

namespace vantelo {

Vantelo::Vantelo(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), m_platform(platform)
{
    setWindowTitle(QStringLiteral("Personal Vantelo Creator"));
    setFixedSize(556, 354);
}

void Vantelo::Form_Load() {}

} // namespace vantelo
