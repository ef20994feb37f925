#pragma once

#include "platform/Platform.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

// What every benchmark needs: medians, and message boxes that print instead of waiting for an OK
// nobody can give.
namespace vantelo::bench {

inline double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Points settings and the instance lock at work, and Qt at the offscreen platform unless told
// otherwise, before the application starts: a benchmark never touches the user's own settings.
inline void usePrivateFolders(const QTemporaryDir& work)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(work.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

class ConsolePrompter : public Prompter
{
public:
    void showMessage(QWidget*, MessageIcon, const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        ++failures;
    }
    void beep() override {}
    int failures = 0;
};

} // namespace vantelo::bench
