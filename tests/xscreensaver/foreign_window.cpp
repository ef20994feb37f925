// Stands in for XScreenSaver in the end-to-end test: owns one plain X window, as the host does, and
// lends it out by printing its id in the host's form ("0x" and hexadecimal digits). The window lives
// until the program is killed. Usage: vantelo_foreign_window WIDTH HEIGHT LEFT TOP RRGGBB
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (argc != 6 || xcb_connection_has_error(connection))
        return std::fprintf(stderr, "usage, with a display: %s WIDTH HEIGHT LEFT TOP RRGGBB\n", argv[0]), 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const auto number = [argv](int i) { return std::atoi(argv[i]); };
    const std::uint32_t background = std::uint32_t(std::strtoul(argv[5], nullptr, 16));
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, std::int16_t(number(3)),
                      std::int16_t(number(4)), std::uint16_t(number(1)), std::uint16_t(number(2)), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &background);
    xcb_map_window(connection, window);
    // Printed only once the server has the window, so that whoever reads the id can use it at once.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::printf("0x%x\n", unsigned(window));
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection))
        std::free(event);
    return 0;
}
