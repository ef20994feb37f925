#pragma once

#include "platform/Platform.h"

#include <QWidget>

namespace vantelo {

// The full-screen show window.
class FullShow : public QWidget
{
    Q_OBJECT
public:
    explicit FullShow(Platform& platform, QWidget* parent = nullptr);

    void Form_Load();

private:
    Platform& m_platform;
};

} // namespace vantelo
