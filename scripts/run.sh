#!/usr/bin/env bash
# Installs what is needed, builds, starts the site simulator on a
# pseudo-terminal and the program pointed at it.
#
# The demonstration keeps its own settings, program folder and site under
# build/demo (or $QUORVEL_DEMO), so the user's own settings are left alone.
# Extra arguments go to the program; SIM_ARGS adds simulator options, for
# instance SIM_ARGS="--baud 4800 --corrupt 0.0005".
# With no display the program runs unattended (-AL: connect locally) and the
# launch file and error log are printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

demo=${QUORVEL_DEMO:-$root/build/demo}
mkdir -p "$demo/home" "$demo/config/Mestra Apps" "$demo/sites"
export QUORVEL_HOME=$demo/home
export XDG_CONFIG_HOME=$demo/config
port=$demo/port
site=$demo/sites/Demo.ste

# The demonstration site: an empty site with its description, 103 bytes, and
# short time-outs so that a scan of absent units is quick.
if [ ! -f "$site" ]; then
  python3 - "$site" <<'PY'
import struct, sys
def text(s): return s.encode().ljust(41, b"\0")
record = struct.pack("<H", 0x101) + text("Simulated site") + text("") + b"\0"
record += struct.pack("<HHIH", 900, 0, 0, 0) + struct.pack("<hHHH", 0, 0, 0, 0)
open(sys.argv[1], "wb").write(record)
PY
  printf '[Site]\nComTimeouts=10,2000,500,500,300,5000\n' > "${site%.ste}.ini"
fi

# Point the program's local port at the simulator (settings group "Settings").
conf="$demo/config/Mestra Apps/Quorvel.conf"
if ! grep -q '^Comms\\LocalPort=' "$conf" 2>/dev/null; then
  printf '[Settings]\nComms\\LocalPort=%s\nPaths\\SitesPath=%s\nPaths\\LastSite=%s\n' \
    "$port" "$demo/sites" "$site" > "$conf"
fi

# shellcheck disable=SC2086
"$root/build/tools/sitesim/quorvel-sim" --link "$port" ${SIM_ARGS:-} > "$demo/sim.out" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$port" ] && break; sleep 0.1; done
if [ ! -e "$port" ]; then
  echo "The simulator did not start:" >&2
  cat "$demo/sim.out" >&2
  exit 1
fi
echo "Simulator serving on $(head -n1 "$demo/sim.out") (linked at $port)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: running unattended (quorvel -AL $site)"
  status=0
  "$root/build/quorvel" -AL "$site" "$@" || status=$?
  echo "Exit status $status. Launch file ($QUORVEL_HOME/QW1Launch.txt):"
  cat "$QUORVEL_HOME/QW1Launch.txt"
  echo "Error log ($QUORVEL_HOME/QuorvelWLog.txt):"
  cat "$QUORVEL_HOME/QuorvelWLog.txt" 2>/dev/null || true
  exit "$status"
fi
"$root/build/quorvel" "$@"
