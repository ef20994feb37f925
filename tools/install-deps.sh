#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running Personal Vantelo need.
# Usage: tools/install-deps.sh [--tests]
#   --tests  adds what the tests, the sanitizer and fuzzing builds, the tidy and format checks and the
#            packaging checks need.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev
    # the X11 (xcb) platform plugin and the GIF and JPEG readers the program loads at run time ship here;
    # qt6-base-dev brings it in, named so that it stays when that changes
    libqt6gui6
    # the X11 window an XScreenSaver host lends the show, read over Qt's own X connection
    libxcb1-dev
    # metric-compatible faces for the "Times New Roman" and "Arial" the windows ask for
    fonts-liberation
)
test_packages=(
    qt6-base-dev-tools libqt6opengl6-dev qt6-image-formats-plugins qt6-qpa-plugins
    # the real program under a virtual X server, driven and photographed; xrandr makes two monitors
    xvfb xauth xdotool imagemagick x11-utils x11-xserver-utils util-linux libjpeg-turbo-progs
    # the configuration window as a screen reader reads it, over AT-SPI
    at-spi2-core python3-pyatspi
    # the idle-time recipes run for real: X11, sway and GNOME's idle monitor, each on a private bus
    xss-lock xautolock sway swayidle mutter dbus-daemon libglib2.0-bin python3-gi passwd
    # the show on two Wayland outputs: Qt's Wayland plugin, photographed by grim, a pointer lent by wayvnc
    qt6-wayland grim wayvnc
    # KDE Plasma's compositor, run headless for its idle-time recipe
    kwin-wayland
    # GNOME's session manager, run headless: it starts the autostart entry and holds the idle time back
    gnome-session-bin
    # sanitizer and fuzzing builds
    clang libclang-rt-14-dev
    # tools/run-tidy.sh and tools/check-format.sh
    clang-tidy clang-format
    # packaging checks; checkbashisms (devscripts) keeps vantelo-idle to the POSIX shell
    desktop-file-utils lintian dpkg-dev file devscripts
)

case "${1:-}" in
    "") ;;
    --tests) packages+=("${test_packages[@]}") ;;
    *)
        echo "usage: $0 [--tests]" >&2
        exit 2
        ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${packages[@]}"
