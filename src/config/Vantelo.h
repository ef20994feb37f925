#pragma once

#include "platform/Platform.h"

#include <QWidget>

namespace vantelo {

// The configuration window, "Personal Vantelo Creator".
class Vantelo : public QWidget
{
    Q_OBJECT
public:
    explicit Vantelo(Platform& platform, QWidget* parent = nullptr);

    void Form_Load();

private:
    Platform& m_platform;
};

} // namespace vantelo
