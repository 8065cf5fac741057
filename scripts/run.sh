#!/usr/bin/env bash
# Installs what is needed, builds, starts the site simulator on a
# pseudo-terminal and the program pointed at it.
#
# The demonstration keeps its own settings, program folder and site under
# build/demo (or $QUORVEL_DEMO), so the user's own settings are left alone.
# Extra arguments go to the program; SIM_ARGS adds simulator options, for
# instance SIM_ARGS="--baud 4800 --corrupt 0.0005".
# The simulated site has three units (one with alarms, one with trips) and a
# logger that already holds a few hundred entries and logs every few seconds;
# the demonstration site lists those units and names the logger's devices.
# With no display the program runs unattended (-ALGFPT: connect locally,
# download the log, collect alarms and trips, set the logger's clock) and the
# launch file, the error log and the log files are printed.
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

# The demonstration site (its units, logged devices and map), the simulator's
# scenario and the units' application files; see scripts/demo-site.py.
python3 "$root/scripts/demo-site.py" "$demo"
scenario=$demo/site.scn

# Point the program's local port at the simulator (settings group "Settings").
conf="$demo/config/Mestra Apps/Quorvel.conf"
if ! grep -q '^Comms\\LocalPort=' "$conf" 2>/dev/null; then
  printf '[Settings]\nComms\\LocalPort=%s\nPaths\\SitesPath=%s\nPaths\\LastSite=%s\n' \
    "$port" "$demo/sites" "$site" > "$conf"
fi

# shellcheck disable=SC2086
"$root/build/tools/sitesim/quorvel-sim" --link "$port" --scenario "$scenario" ${SIM_ARGS:-} > "$demo/sim.out" &
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
  echo "No display: running unattended (quorvel -ALGFPT $site)"
  status=0
  "$root/build/quorvel" -ALGFPT "$site" "$@" || status=$?
  echo "Exit status $status. Launch file ($QUORVEL_HOME/QW1Launch.txt):"
  cat "$QUORVEL_HOME/QW1Launch.txt"
  echo "Error log ($QUORVEL_HOME/QuorvelWLog.txt):"
  cat "$QUORVEL_HOME/QuorvelWLog.txt" 2>/dev/null || true
  echo "Log files in $demo/sites:"
  ls -l "$demo/sites"/*.LOG 2>/dev/null || echo "(none)"
  exit "$status"
fi
"$root/build/quorvel" "$@"
