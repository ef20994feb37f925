// Usage: slidelist_save_helper PATH ROWS [kill-after-first-chunk]
// Saves ROWS rows of about 1 KB each to PATH. Exit 0 on success, 3 when the save reported a failure.
#include "common/AppError.h"
#include "slidelist/SlideListFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    // Under a file-size limit the write must fail with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const bool killMidway = argc > 3 && std::strcmp(argv[3], "kill-after-first-chunk") == 0;
    vantelo::SlideRows rows;
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i)
        rows.append({QStringLiteral("/photos/"), QStringLiteral("p%1.jpg").arg(i), QStringLiteral("600 X 800"),
                     QString(1000, QLatin1Char('s'))});
    try {
        vantelo::WriteSlideList(rows, QString::fromLocal8Bit(argv[1]), [&](qint64) {
            if (killMidway)
                std::raise(SIGKILL);
        });
    } catch (const vantelo::AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
    return 0;
}
