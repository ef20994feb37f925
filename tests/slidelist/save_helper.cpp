// Usage: slidelist_save_helper PATH ROWS [die]
// Saves ROWS rows of about 1 KB each to PATH; exits 3 when the save reports a failure. Under a file-size
// limit the write fails with EFBIG, or with "die" the limit's signal kills the process mid-save.
#include "slidelist/SlideListFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    if (argc == 3)
        std::signal(SIGXFSZ, SIG_IGN);
    const vantelo::SlideRows rows(std::atoi(argv[2]), {QStringLiteral("/photos/"), QStringLiteral("p.jpg"),
                                                       QStringLiteral("600 X 800"), QString(1000, u's')});
    try {
        vantelo::WriteSlideList(rows, QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
    return 0;
}
