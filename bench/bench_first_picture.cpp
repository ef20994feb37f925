// From starting the show to its first picture on screen, against feh showing the same file and djpeg
// decoding it at the scale the show needs. Everything runs on a 1920 x 1080 X server; a picture is on
// screen when the screen's centre pixel, read from the server, has the picture's colour there.
// Usage: bench_first_picture [path/to/vantelo.scr [path/to/baseline/vantelo.scr]]
//   (default: vantelo.scr beside this program); a baseline build is timed in the same rounds.
// With DISPLAY unset it starts its own Xvfb; a display it is given must be 1920 x 1080 and is covered.
#include "BenchSupport.h"
#include "ProgramBench.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace vantelo::bench;

namespace {

constexpr int Runs = 7;
constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr int PictureWidth = 6000;
constexpr int PictureHeight = 4000;
constexpr double TimeLimitMs = 30000;

struct Bench
{
    Screen& screen;
    Rgb picture;
    std::string log;

    // Milliseconds from starting a viewer until the picture's centre is on screen; the viewer is then
    // ended and the screen is clear again before the next one starts.
    std::optional<double> viewer(const std::vector<std::string>& arguments, Environment& environment)
    {
        if (!clear())
            return std::nullopt;
        const double start = nowMs();
        const pid_t pid = spawn(arguments, environment, log);
        if (pid < 0)
            return std::nullopt;
        std::optional<double> shown;
        Rgb last;
        while (!shown && nowMs() - start < TimeLimitMs) {
            const std::optional<Rgb> seen = screen.centre();
            if (seen && near(*seen, picture))
                shown = nowMs() - start;
            else if (waitpid(pid, nullptr, WNOHANG) == pid) {
                std::fprintf(stderr, "%s ended before its picture appeared (see %s)\n", arguments[0].c_str(),
                             log.c_str());
                return std::nullopt;
            } else {
                last = seen.value_or(last);
                sleepMs(1);
            }
        }
        endProcess(pid);
        if (!shown)
            std::fprintf(stderr, "%s: no picture within %.0f s; centre pixel (%d, %d, %d) (see %s)\n",
                         arguments[0].c_str(), TimeLimitMs / 1000, last.r, last.g, last.b, log.c_str());
        return shown;
    }

    bool clear()
    {
        for (const double start = nowMs(); nowMs() - start < 5000; sleepMs(5)) {
            const std::optional<Rgb> seen = screen.centre();
            if (seen && !near(*seen, picture))
                return true;
        }
        std::fprintf(stderr, "the screen's centre still shows the picture\n");
        return false;
    }

    // Milliseconds from start to exit of a program that must succeed.
    std::optional<double> process(const std::vector<std::string>& arguments, Environment& environment)
    {
        const double start = nowMs();
        const pid_t pid = spawn(arguments, environment, log);
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid)
            return std::nullopt;
        const double took = nowMs() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s failed (see %s)\n", arguments[0].c_str(), log.c_str());
            return std::nullopt;
        }
        return took;
    }
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString program =
        QFileInfo(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath() + "/vantelo.scr")
            .absoluteFilePath();
    if (!QFileInfo(program).isExecutable()) {
        std::fprintf(stderr, "no program at %s (usage: bench_first_picture [path/to/vantelo.scr])\n",
                     qPrintable(program));
        return 2;
    }
    for (const char* tool : {"feh", "djpeg", "Xvfb"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::fprintf(stderr, "%s is missing: install the packages in bench/packages.txt\n", tool);
            return 2;
        }
    }

    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    // The shared generator writes at quality 90, about 7 MB; saved again at 99 the picture weighs what a
    // camera's 24-megapixel file of fine detail does, about 15 MB, and takes as long to decode.
    const QString picture = work.filePath(QStringLiteral("photo-6000x4000.jpg"));
    const QString generated = work.filePath(QStringLiteral("generated.jpg"));
    QImageWriter writer(picture, "jpeg");
    writer.setQuality(99);
    if (!vantelo::bench::writeGrainyJpeg(generated, PictureWidth, PictureHeight, 20261206, 0, false) ||
        !writer.write(QImage(generated)) || !QFile::remove(generated)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(picture));
        return 1;
    }
    // What any viewer shows at the screen's centre: the picture fitted to the screen's height.
    QImageReader reader(picture);
    const int fittedWidth = PictureWidth * ScreenHeight / PictureHeight;
    reader.setScaledSize(QSize(fittedWidth, ScreenHeight));
    const QRgb middle = reader.read().pixel(fittedWidth / 2, ScreenHeight / 2);
    const Rgb expected{qRed(middle), qGreen(middle), qBlue(middle)};

    const QString config = work.filePath(QStringLiteral("config"));
    const QString runtime = work.filePath(QStringLiteral("runtime"));
    const QString list = work.filePath(QStringLiteral("show.vtl"));
    QDir().mkpath(config);
    const QString baselineRuntime = work.filePath(QStringLiteral("baseline-runtime"));
    for (const QString& folder : {runtime, baselineRuntime}) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const QByteArray row = "1 | " + QFile::encodeName(work.path()) + "/ | photo-6000x4000.jpg | " +
                           QByteArray::number(PictureHeight) + " X " + QByteArray::number(PictureWidth) + " | \r\n";
    const QByteArray settings = "[Settings]\nScreenWidth=" + QByteArray::number(ScreenWidth) +
                                "\nScreenHeight=" + QByteArray::number(ScreenHeight) +
                                "\nBackColor=0\nDelay=5\nShowType=Ordered\nFile=" + QFile::encodeName(list) + "\n";
    if (!writeFile(list, " 1 \r\n" + row) || !writeFile(config + QStringLiteral("/Personal Vantelo.conf"), settings))
        return 1;

    PrivateServer server;
    std::string display = qEnvironmentVariable("DISPLAY").toStdString();
    if (display.empty()) {
        const std::optional<std::string> started =
            server.start(work.filePath(QStringLiteral("xvfb.log")).toStdString(), ScreenWidth, ScreenHeight);
        if (!started) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return 1;
        }
        display = *started;
    }
    Screen screen(display);
    if (const std::string problem = screen.problem(ScreenWidth, ScreenHeight); !problem.empty()) {
        std::fprintf(stderr, "display %s %s (unset DISPLAY to use a private Xvfb)\n", display.c_str(), problem.c_str());
        return 1;
    }

    screen.movePointerAside();
    const std::string file = picture.toStdString();
    // No session bus on the test server: spares both viewers libdbus's attempt to start one.
    const auto viewerEnvironment = [&](const QString& runtimeFolder) {
        return Environment({"DISPLAY", "QT_QPA_PLATFORM", "XSCREENSAVER_WINDOW", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                            "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"},
                           {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config.toStdString(),
                            "XDG_RUNTIME_DIR=" + runtimeFolder.toStdString(), "DBUS_SESSION_BUS_ADDRESS=disabled:"});
    };
    Environment viewers = viewerEnvironment(runtime);
    // A baseline build may keep its instance lock differently: each build keeps its own.
    Environment baselineViewers = viewerEnvironment(baselineRuntime);
    Bench bench{screen, expected, work.filePath(QStringLiteral("programs.log")).toStdString()};
    const std::vector<std::string> ours{program.toStdString(), "/s"};
    const std::vector<std::string> feh{"feh", "-F", "-Z", file};
    const std::vector<std::string> djpeg{"djpeg", "-scale", "3/8", "-outfile", "/dev/null", file};

    std::printf("%d x %d grainy JPEG, %.1f MB, on a %d x %d X server (%s); centre colour (%d, %d, %d)\n", PictureWidth,
                PictureHeight, double(QFileInfo(picture).size()) / 1e6, ScreenWidth, ScreenHeight, display.c_str(),
                expected.r, expected.g, expected.b);
    std::printf("program: %s\n", qPrintable(program));
    std::vector<std::string> baseline;
    if (argc > 2) {
        baseline = {QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath().toStdString(), "/s"};
        std::printf("baseline: %s\n", baseline[0].c_str());
    }
    std::vector<double> oursTimes, fehTimes, djpegTimes, baselineTimes;
    // Round 0 warms the file cache and the libraries and is not counted.
    for (int round = 0; round <= Runs; ++round) {
        const std::optional<double> a = bench.viewer(ours, viewers);
        const std::optional<double> b = bench.viewer(feh, viewers);
        const std::optional<double> c = bench.process(djpeg, viewers);
        // A baseline build may be one that crashes at times: its crashes are counted, not timed.
        const std::optional<double> d = baseline.empty() ? std::nullopt : bench.viewer(baseline, baselineViewers);
        if (!a || !b || !c) {
            work.setAutoRemove(false);
            std::fprintf(stderr, "the programs' output is kept in %s\n", qPrintable(work.filePath("programs.log")));
            return 1;
        }
        if (round == 0) {
            std::printf("warm-up: ours %.1f ms  feh %.1f ms  djpeg %.1f ms (not counted)\n", *a, *b, *c);
            continue;
        }
        std::printf("run %d:   ours %.1f ms  feh %.1f ms  djpeg %.1f ms", round, *a, *b, *c);
        if (d) {
            std::printf("  baseline %.1f ms", *d);
            baselineTimes.push_back(*d);
        } else if (!baseline.empty()) {
            std::printf("  baseline ended by itself");
        }
        std::printf("\n");
        std::fflush(stdout);
        oursTimes.push_back(*a);
        fehTimes.push_back(*b);
        djpegTimes.push_back(*c);
    }
    const double oursMedian = medianOf(oursTimes);
    const double fehMedian = medianOf(fehTimes);
    const double djpegMedian = medianOf(djpegTimes);
    std::printf("medians of %d: ours %.1f ms  feh %.1f ms  djpeg %.1f ms\n", Runs, oursMedian, fehMedian, djpegMedian);
    std::printf("feh/ours %.2f (goal >= 1.8)  ours/djpeg %.2f (goal <= 1.12)\n", fehMedian / oursMedian,
                oursMedian / djpegMedian);
    if (!baselineTimes.empty())
        std::printf("baseline median of %zu: %.1f ms  ours/baseline %.2f\n", baselineTimes.size(),
                    medianOf(baselineTimes), oursMedian / medianOf(baselineTimes));
    return 0;
}
