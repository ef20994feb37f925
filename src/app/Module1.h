#pragma once

#include <QString>

namespace vantelo {

enum class StartMode { Nothing, Configuration, Show };

// The program's arguments as one text, joined by single spaces (the program's own path excluded).
QString argumentText(int argc, char** argv);

// Only spaces are trimmed (a tab is kept), the text is lower-cased, and its first two characters
// decide: "/c" configuration, "/s" show, anything else nothing.
StartMode startModeFor(const QString& argumentText);

// The entry routine: refuses a second instance, then opens the window the command line asks for
// and runs until the program ends. Returns the process exit status.
int Main(int argc, char** argv);

} // namespace vantelo
