// From starting the show to its first picture on screen, against feh showing the same file and djpeg
// decoding it at the scale the show needs. Everything runs on a 1920 x 1080 X server; a picture is on
// screen when the screen's centre pixel, read from the server, has the picture's colour there.
// Usage: bench_first_picture [path/to/vantelo.scr [path/to/baseline/vantelo.scr]]
//   (default: vantelo.scr beside this program); a baseline build is timed in the same rounds.
// With DISPLAY unset it starts its own Xvfb; a display it is given must be 1920 x 1080 and is covered.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

using vantelo::bench::medianOf;

namespace {

constexpr int Runs = 7;
constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr int PictureWidth = 6000;
constexpr int PictureHeight = 4000;
// Per channel: far from both the black background and anything a window draws before its picture.
constexpr int Tolerance = 40;
constexpr double TimeLimitMs = 30000;

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void sleepMs(double ms)
{
    const long ns = long(ms * 1e6);
    const timespec t{ns / 1000000000L, ns % 1000000000L};
    nanosleep(&t, nullptr);
}

struct Rgb
{
    int r = 0, g = 0, b = 0;
};

bool near(const Rgb& seen, const Rgb& wanted)
{
    return std::abs(seen.r - wanted.r) <= Tolerance && std::abs(seen.g - wanted.g) <= Tolerance &&
           std::abs(seen.b - wanted.b) <= Tolerance;
}

// An environment for a child: ours, minus whatever would change how the programs start.
class Environment
{
public:
    Environment(const std::vector<std::string>& dropped, const std::vector<std::string>& added)
    {
        for (char** entry = environ; *entry; ++entry) {
            const std::string text(*entry);
            const std::string name = text.substr(0, text.find('='));
            bool drop = false;
            for (const std::string& d : dropped)
                drop = drop || d == name;
            if (!drop)
                m_strings.push_back(text);
        }
        m_strings.insert(m_strings.end(), added.begin(), added.end());
        for (std::string& s : m_strings)
            m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
    }
    char** get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

// posix_spawn keeps the start cost of every timed program the same and small; each writes into log.
pid_t spawn(const std::vector<std::string>& arguments, Environment& environment, const std::string& log)
{
    std::vector<char*> argv;
    std::vector<std::string> copies(arguments);
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int failure = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environment.get());
    posix_spawn_file_actions_destroy(&actions);
    if (failure) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(failure));
        return -1;
    }
    return pid;
}

void endProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A private Xvfb on the first free display number, which it reports itself once it takes clients.
class PrivateServer
{
public:
    ~PrivateServer()
    {
        if (m_pid > 0)
            endProcess(m_pid);
    }

    std::optional<std::string> start(const std::string& log)
    {
        int ready[2];
        if (pipe(ready) != 0)
            return std::nullopt;
        const std::string geometry = std::to_string(ScreenWidth) + 'x' + std::to_string(ScreenHeight) + "x24";
        m_pid = fork();
        if (m_pid == 0) {
            // Goes with this program even when it is interrupted.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(ready[1], 3);
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", geometry.c_str(), "-nolisten", "tcp", "-noreset",
                   "-br", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string number;
        pollfd wait{ready[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ready[0]);
        if (number.empty())
            return std::nullopt;
        return ':' + number;
    }

private:
    pid_t m_pid = -1;
};

// The X connection that reads the screen's centre pixel.
class Screen
{
public:
    explicit Screen(const std::string& display)
    {
        m_connection = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_root = screen->root;
        m_width = screen->width_in_pixels;
        m_height = screen->height_in_pixels;
        for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem; xcb_depth_next(&depth))
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual))
                if (visual.data->visual_id == screen->root_visual)
                    m_masks = {visual.data->red_mask, visual.data->green_mask, visual.data->blue_mask};
    }
    ~Screen() { xcb_disconnect(m_connection); }

    // What keeps the display from being measured, if anything.
    std::string problem() const
    {
        if (xcb_connection_has_error(m_connection))
            return "cannot be opened";
        if (m_width != ScreenWidth || m_height != ScreenHeight)
            return "is " + std::to_string(m_width) + " x " + std::to_string(m_height) + ", not " +
                   std::to_string(ScreenWidth) + " x " + std::to_string(ScreenHeight);
        if (m_masks[0] == 0)
            return "has no true-colour root window";
        return {};
    }
    // Before the first run only: a show that sees the pointer move ends.
    void movePointerAside()
    {
        // The pointer's own picture is kept out of the measured pixel.
        xcb_warp_pointer(m_connection, XCB_NONE, m_root, 0, 0, 0, 0, 0, 0);
        xcb_flush(m_connection);
    }

    std::optional<Rgb> centre()
    {
        const auto cookie =
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, m_width / 2, m_height / 2, 1, 1, ~0u);
        xcb_get_image_reply_t* reply = xcb_get_image_reply(m_connection, cookie, nullptr);
        if (!reply)
            return std::nullopt;
        std::uint32_t value = 0;
        std::memcpy(&value, xcb_get_image_data(reply), std::min<int>(4, xcb_get_image_data_length(reply)));
        std::free(reply);
        return Rgb{channel(value, m_masks[0]), channel(value, m_masks[1]), channel(value, m_masks[2])};
    }

private:
    static int channel(std::uint32_t value, std::uint32_t mask)
    {
        const int shift = __builtin_ctz(mask);
        return int(((value & mask) >> shift) * 255 / (mask >> shift));
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    int m_width = 0;
    int m_height = 0;
    std::array<std::uint32_t, 3> m_masks{};
};

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
            server.start(work.filePath(QStringLiteral("xvfb.log")).toStdString());
        if (!started) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return 1;
        }
        display = *started;
    }
    Screen screen(display);
    if (const std::string problem = screen.problem(); !problem.empty()) {
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
