#!/usr/bin/env bash
# Installs what is needed (scripts/setup.sh), builds the Debian package
# quorvel_<version>_<arch>.deb in a build folder, shows its control fields and
# files, and checks it (scripts/package-check.sh).
# Usage: scripts/package.sh [build-folder] [extra cmake options...]
#
# A folder that is already configured (the plain build of scripts/build.sh,
# by default) is reused as it is: only the two programs and the manual pages
# are brought up to date, never the tests or benchmarks, and only they go
# into the package. A new folder is configured as a release build of the
# programs alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true

"$root/scripts/setup.sh"

if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" "$@" >/dev/null
else
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF "$@" >/dev/null
fi
cmake --build "$build" --target quorvel quorvel-sim quorvel_man --parallel "$(nproc)"

# CPack installs what the build holds into its staging root, strips the
# programs and lets dpkg-shlibdeps fill in Depends.
rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
debs=("$build"/quorvel_*_"$(dpkg --print-architecture)".deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "package.sh: cpack made no package in $build" >&2; exit 1; }

echo "== $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
"$root/scripts/package-check.sh" "$deb"
