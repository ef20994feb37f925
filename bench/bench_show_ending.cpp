// The show's end under load, and its processor time per slide, against a baseline build in the same run:
// the show over 50-megapixel JPEGs at a delay of 1 s on a 1920 x 1080 X server, so that a large picture
// is being decoded at most moments. A one-pixel move of the pointer at a random moment, then the time
// until the show's window is off the screen (its background gone from the screen's edge) and until the
// process has ended, over Rounds rounds; then the processor time of ten seconds of slides.
// Usage: bench_show_ending [path/to/vantelo.scr [path/to/baseline/vantelo.scr]]
//   (default: vantelo.scr beside this program). Starts its own Xvfb.
#include "BenchSupport.h"
#include "ProgramBench.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

using namespace vantelo::bench;

namespace {

constexpr int Rounds = 20;
constexpr int CpuRuns = 3;
constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr int PictureWidth = 8660; // 50 megapixels
constexpr int PictureHeight = 5773;
constexpr int Pictures = 4;
const Rgb Background{0, 0, 255};

struct Ending
{
    double offScreenMs = 0;
    double endedMs = 0;
};

struct Program
{
    std::string name;
    std::string path;
    Environment environment;
    std::vector<double> offScreen, ended, cpuPerSlide;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Processor time of the process so far, in milliseconds.
double cpuMs(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    // utime and stime, the 14th and 15th fields, are the 12th and 13th after the name.
    return fields.size() > 12 ? (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK))
                              : 0;
}

bool waitFor(Screen& screen, bool covered, double limitMs)
{
    for (const double start = nowMs(); nowMs() - start < limitMs; sleepMs(0.5)) {
        const std::optional<Rgb> edge = screen.pixel(5, ScreenHeight / 2);
        if (edge && near(*edge, Background, 8) == covered)
            return true;
    }
    return false;
}

// Starts the show and waits until it covers the screen; -1 when it does not.
pid_t startShow(Screen& screen, Program& program, const std::string& log)
{
    screen.movePointerAside();
    const pid_t pid = spawn({program.path, "/s"}, program.environment, log);
    if (pid > 0 && waitFor(screen, true, 10000))
        return pid;
    if (pid > 0)
        endProcess(pid);
    return -1;
}

std::optional<Ending> endAfter(Screen& screen, Program& program, double waitMs, const std::string& log)
{
    const pid_t pid = startShow(screen, program, log);
    if (pid < 0)
        return std::nullopt;
    sleepMs(waitMs);
    screen.nudgePointer();
    const double moved = nowMs();
    Ending ending;
    if (!waitFor(screen, false, 10000)) {
        endProcess(pid);
        return std::nullopt;
    }
    ending.offScreenMs = nowMs() - moved;
    while (waitpid(pid, nullptr, WNOHANG) != pid) {
        if (nowMs() - moved > 10000) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            break;
        }
        sleepMs(0.5);
    }
    ending.endedMs = nowMs() - moved;
    return ending;
}

std::optional<double> cpuPerSlide(Screen& screen, Program& program, const std::string& log)
{
    const pid_t pid = startShow(screen, program, log);
    if (pid < 0)
        return std::nullopt;
    // The first seconds carry the start; ten slides after them are the steady show.
    sleepMs(2000);
    const double before = cpuMs(pid);
    sleepMs(10000);
    const double after = cpuMs(pid);
    endProcess(pid);
    return (after - before) / 10.0;
}

void printFigures(const char* what, const std::vector<double>& values)
{
    std::printf("  %-34s median %7.1f ms  worst %7.1f ms\n", what, medianOf(values),
                values.empty() ? 0.0 : *std::max_element(values.begin(), values.end()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    const QString program =
        QFileInfo(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath() + "/vantelo.scr")
            .absoluteFilePath();
    const QString config = work.filePath(QStringLiteral("config"));
    const QString list = work.filePath(QStringLiteral("show.vtl"));
    QByteArray rows = ' ' + QByteArray::number(Pictures) + " \r\n";
    for (int i = 0; i < Pictures; ++i) {
        const QString name = QStringLiteral("photo%1.jpg").arg(i);
        if (!writeGrainyJpeg(work.filePath(name), PictureWidth, PictureHeight, 7 + i, i * 2000, false)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
        rows += QByteArray::number(i + 1) + " | " + QFile::encodeName(work.path()) + "/ | " + name.toLatin1() + " | " +
                QByteArray::number(PictureHeight) + " X " + QByteArray::number(PictureWidth) + " | \r\n";
    }
    QDir().mkpath(config);
    const QByteArray settings = "[Settings]\nScreenWidth=1920\nScreenHeight=1080\nBackColor=16711680\nDelay=1\n"
                                "ShowType=Ordered\nFile=" +
                                QFile::encodeName(list) + "\n";
    if (!writeFile(list, rows) || !writeFile(config + QStringLiteral("/Personal Vantelo.conf"), settings))
        return 1;

    PrivateServer server;
    const std::optional<std::string> display =
        server.start(work.filePath(QStringLiteral("xvfb.log")).toStdString(), ScreenWidth, ScreenHeight);
    if (!display) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    Screen screen(*display);
    if (const std::string problem = screen.problem(ScreenWidth, ScreenHeight); !problem.empty()) {
        std::fprintf(stderr, "display %s %s\n", display->c_str(), problem.c_str());
        return 1;
    }
    // Each build keeps its instance lock in a runtime folder of its own.
    const auto environmentFor = [&](const QString& runtime) {
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return Environment({"DISPLAY", "QT_QPA_PLATFORM", "XSCREENSAVER_WINDOW", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                            "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"},
                           {"DISPLAY=" + *display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config.toStdString(),
                            "XDG_RUNTIME_DIR=" + runtime.toStdString(), "DBUS_SESSION_BUS_ADDRESS=disabled:"});
    };
    std::vector<Program> programs;
    programs.push_back({"ours", program.toStdString(), environmentFor(work.filePath("runtime")), {}, {}, {}});
    if (argc > 2)
        programs.push_back({"baseline",
                            QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath().toStdString(),
                            environmentFor(work.filePath("baseline-runtime")),
                            {},
                            {},
                            {}});
    const std::string log = work.filePath(QStringLiteral("programs.log")).toStdString();

    std::printf("%d grainy %d x %d JPEGs, delay 1 s, on a %d x %d X server\n", Pictures, PictureWidth, PictureHeight,
                ScreenWidth, ScreenHeight);
    for (const Program& p : programs)
        std::printf("%s: %s\n", p.name.c_str(), p.path.c_str());
    std::mt19937 moments(20261207);
    std::uniform_real_distribution<double> moment(1000.0, 3000.0);
    for (int round = 1; round <= Rounds; ++round) {
        const double waitMs = moment(moments);
        std::printf("round %2d, a move %.0f ms after the show covered the screen:", round, waitMs);
        for (Program& p : programs) {
            const std::optional<Ending> ending = endAfter(screen, p, waitMs, log);
            if (!ending) {
                std::printf("\n%s did not show or did not end (see %s)\n", p.name.c_str(), log.c_str());
                work.setAutoRemove(false);
                return 1;
            }
            p.offScreen.push_back(ending->offScreenMs);
            p.ended.push_back(ending->endedMs);
            std::printf("  %s %.1f / %.1f ms", p.name.c_str(), ending->offScreenMs, ending->endedMs);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    for (int run = 0; run < CpuRuns; ++run) {
        for (Program& p : programs) {
            if (const std::optional<double> cpu = cpuPerSlide(screen, p, log))
                p.cpuPerSlide.push_back(*cpu);
        }
    }
    for (const Program& p : programs) {
        std::printf("%s, over %d rounds:\n", p.name.c_str(), Rounds);
        printFigures("move to window off the screen:", p.offScreen);
        printFigures("move to process ended:", p.ended);
        printFigures("processor time per slide:", p.cpuPerSlide);
    }
    if (programs.size() == 2 && !programs[1].cpuPerSlide.empty())
        std::printf("ours/baseline: off the screen %.2f, ended %.2f, processor time per slide %.2f\n",
                    medianOf(programs[0].offScreen) / medianOf(programs[1].offScreen),
                    medianOf(programs[0].ended) / medianOf(programs[1].ended),
                    medianOf(programs[0].cpuPerSlide) / medianOf(programs[1].cpuPerSlide));
    return 0;
}
