#pragma once

// Qt gives up with an abort and a core dump when it reaches no window system: a display that is not
// up yet, or a typo in DISPLAY. While a guard lives (around the application's construction), that
// ends the program instead with one line on the error output naming the display, exit status 1.
// Qt's own messages of that time are held back, and passed on as usual when the window system was
// reached.
namespace vantelo {

class DisplayGuard
{
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

// The line the program ends with: the display named by DISPLAY, else WAYLAND_DISPLAY.
const char* unreachableDisplayLine();

} // namespace vantelo
