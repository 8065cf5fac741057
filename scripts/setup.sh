#!/usr/bin/env bash
# Installs every system package the project needs, from Debian's packages.
# Idempotent and non-interactive; run as root (or through sudo).
set -euo pipefail

# Build: CMake, Ninja, GCC; Qt 6 (with the OpenGL headers its Gui package
# needs); libjpeg for the site map's JPEG pictures; GoogleTest. python3
# writes the demonstration site of scripts/run.sh.
packages=(
  cmake ninja-build g++
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg-dev
  libgtest-dev
  python3
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
