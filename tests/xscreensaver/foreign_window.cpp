// Stands in for XScreenSaver in the end-to-end test: owns one plain X window, as the host does, and
// lends it out by printing its id in the host's form ("0x" and hexadecimal digits).
//
// Usage: vantelo_foreign_window WIDTH HEIGHT [LEFT TOP [RRGGBB]]
// The window lives until the program is killed; its background (default pure green) is whatever
// nobody has drawn over.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool readNumber(const char* text, long minimum, long maximum, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= minimum && value <= maximum;
}

} // namespace

int main(int argc, char** argv)
{
    long width = 0, height = 0, left = 0, top = 0;
    unsigned long background = 0x00ff00;
    bool ok = (argc == 3 || argc == 5 || argc == 6) && readNumber(argv[1], 1, 32767, width) &&
              readNumber(argv[2], 1, 32767, height);
    if (ok && argc >= 5)
        ok = readNumber(argv[3], -32768, 32767, left) && readNumber(argv[4], -32768, 32767, top);
    if (ok && argc == 6) {
        char* end = nullptr;
        background = std::strtoul(argv[5], &end, 16);
        ok = std::string(argv[5]).size() == 6 && *end == '\0';
    }
    if (!ok) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT [LEFT TOP [RRGGBB]]\n", argv[0]);
        return 2;
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {std::uint32_t(background)};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, std::int16_t(left), std::int16_t(top),
                      std::uint16_t(width), std::uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, values);
    xcb_map_window(connection, window);
    // Printed only once the server has the window, so that whoever reads the id can use it at once.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::printf("0x%x\n", unsigned(window));
    std::fflush(stdout);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection))
        std::free(event);
    xcb_disconnect(connection);
    return 0;
}
