#!/usr/bin/env bash
# Installs every system package the project needs, from Debian's packages.
# Idempotent and non-interactive; run as root (or through sudo).
set -euo pipefail

# Build: CMake, Ninja, GCC; Qt 6 (with the OpenGL headers its Gui package
# needs) and Qt Charts for the log viewer's trend chart (with the OpenGL
# module's CMake files, which its package finds but does not depend on);
# libjpeg for the site map's JPEG pictures; GoogleTest. python3 writes the
# demonstration site of scripts/run.sh.
# Package: dpkg-dev and file, which CPack's Debian generator uses to find the
# shared libraries' packages.
# Display test: Xvfb, a session bus, the accessibility bus and Python's
# AT-SPI bindings, to drive the real window as a screen reader does.
# Fuzzing (scripts/fuzz.sh, not part of the test command): clang and libFuzzer.
packages=(
  cmake ninja-build g++
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev libqt6opengl6-dev
  libjpeg-dev
  libgtest-dev
  python3
  dpkg-dev file
  xvfb xauth dbus-daemon dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi
  clang libfuzzer-14-dev libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
