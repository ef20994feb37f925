#pragma once

// What the benchmarks that run the real program need: a private X server, programs started the same
// cheap way every time, and the screen's pixels read back from the server.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace vantelo::bench {

inline double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline void sleepMs(double ms)
{
    const long ns = long(ms * 1e6);
    const timespec t{ns / 1000000000L, ns % 1000000000L};
    nanosleep(&t, nullptr);
}

struct Rgb
{
    int r = 0, g = 0, b = 0;
};

// Per channel, within tolerance.
inline bool near(const Rgb& seen, const Rgb& wanted, int tolerance = 40)
{
    return std::abs(seen.r - wanted.r) <= tolerance && std::abs(seen.g - wanted.g) <= tolerance &&
           std::abs(seen.b - wanted.b) <= tolerance;
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
inline pid_t spawn(const std::vector<std::string>& arguments, Environment& environment, const std::string& log)
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

inline void endProcess(pid_t pid)
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

    std::optional<std::string> start(const std::string& log, int width, int height)
    {
        int ready[2];
        if (pipe(ready) != 0)
            return std::nullopt;
        const std::string geometry = std::to_string(width) + 'x' + std::to_string(height) + "x24";
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
    std::string problem(int width, int height) const
    {
        if (xcb_connection_has_error(m_connection))
            return "cannot be opened";
        if (m_width != width || m_height != height)
            return "is " + std::to_string(m_width) + " x " + std::to_string(m_height) + ", not " +
                   std::to_string(width) + " x " + std::to_string(height);
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

    // A move of one pixel to the right, wherever the pointer is.
    void nudgePointer()
    {
        xcb_warp_pointer(m_connection, XCB_NONE, XCB_NONE, 0, 0, 0, 0, 1, 0);
        xcb_flush(m_connection);
    }

    std::optional<Rgb> centre() { return pixel(m_width / 2, m_height / 2); }
    std::optional<Rgb> pixel(int x, int y)
    {
        const auto cookie =
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, std::int16_t(x), std::int16_t(y), 1, 1, ~0u);
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

} // namespace vantelo::bench
