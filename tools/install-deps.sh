#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Personal Vantelo need.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-image-formats-plugins qt6-qpa-plugins
    # the X11 window an XScreenSaver host lends the show, read over Qt's own X connection
    libxcb1-dev
    fonts-liberation
    # tests: the real program under a virtual X server, driven and photographed
    xvfb xauth xdotool imagemagick x11-utils util-linux libjpeg-turbo-progs
    # sanitizer and fuzzing builds, packaging checks
    clang libclang-rt-14-dev desktop-file-utils lintian dpkg-dev file
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${packages[@]}"
