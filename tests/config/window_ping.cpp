// Measures how long a window takes to answer, the way a window manager asks: a _NET_WM_PING, and 10 ms
// after it is answered the next, for the given seconds. Prints the longest wait in milliseconds (a
// ping still unanswered at the end counts as long as it waited) and the number of pings answered.
// SIGTERM ends it sooner. Usage: vantelo_window_ping WINDOW SECONDS
#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

volatile std::sig_atomic_t stopped = 0;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

int main(int argc, char** argv)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (argc != 3 || xcb_connection_has_error(connection))
        return std::fprintf(stderr, "usage, with a display: %s WINDOW SECONDS\n", argv[0]), 2;
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The answer goes to the root window, where a window manager hears it.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootEvents);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS"), ping = atom(connection, "_NET_WM_PING");

    std::signal(SIGTERM, [](int) { stopped = 1; });
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::atof(argv[2])));
    double longest = 0;
    int answered = 0;
    for (std::uint32_t serial = 1; !stopped && Clock::now() < end; ++serial) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = serial; // stands for the time stamp, which comes back unchanged
        message.data.data32[2] = window;
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
        const Clock::time_point sent = Clock::now();
        bool back = false;
        while (!back && !stopped && Clock::now() < end) {
            pollfd wait{xcb_get_file_descriptor(connection), POLLIN, 0};
            poll(&wait, 1, 5);
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
                const auto* reply = reinterpret_cast<const xcb_client_message_event_t*>(event);
                back = back || ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && reply->type == protocols &&
                                reply->data.data32[0] == ping && reply->data.data32[1] == serial);
                std::free(event);
            }
            if (xcb_connection_has_error(connection))
                return std::fprintf(stderr, "the display went away\n"), 1;
        }
        longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        answered += back ? 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("%.0f %d\n", longest, answered);
    xcb_disconnect(connection);
    return 0;
}
