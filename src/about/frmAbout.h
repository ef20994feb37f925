#pragma once

#include "platform/Platform.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QLabel;
class QPushButton;

namespace vantelo {

// The About box: the program's title, maker, version and description, and a button that starts
// the operating system's system information tool. It keeps no state between openings: every
// opening builds and loads a new one.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // owner is the window the box belongs to; its caption, read at load, goes into the box's own.
    frmAbout(Platform& platform, QWidget* owner);

    void Form_Load();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    Platform& m_platform;
    QPointer<QWidget> m_owner;
    std::array<QLabel*, 2> picIcon{};
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

// Opens a new About box over owner, modally, and returns once the user has closed it.
void showAboutBox(QWidget* owner, Platform& platform);

// The status bar panel whose click opens the About box; panels are numbered from 1.
inline constexpr int AboutPanel = 1;

// What a click on a status bar panel of the configuration window does about the About box: the
// About panel opens it (and returns true once it is closed again); any other panel does nothing.
bool openAboutForPanel(int panel, QWidget* owner, Platform& platform);

} // namespace vantelo
