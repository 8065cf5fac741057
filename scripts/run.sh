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

# The demonstration site: the simulator's three units (each with one room)
# and the devices its logger records, with names, so that the units list and
# the log's devices are full before any scan; short time-outs so that a scan
# of absent units is quick. A site left by an older demonstration (an empty
# site of 103 bytes) is replaced.
if [ ! -f "$site" ] || [ "$(stat -c %s "$site")" -le 103 ]; then
  python3 - "$site" <<'PY'
import struct, sys
def text(s, size): return s.encode("latin-1").ljust(size, b"\0")
# number, program name, application (0x0C05 is "012-005")
units = [(3, "FREEZER3", 0x0C05), (5, "CHILLER5", 0x0C05), (12, "FRIDGE12", 0x0C05)]
def device(name, address, subtype, exponent, unit):
    # name[11], address, active (1 = yes), subtype, reserved, exponent, units
    return text(name, 11) + struct.pack("<HBBBbc", address, 1, subtype, 0, exponent, unit)
# Sensors (subtype 2: degrees C in tenths; 8: a trip input) on units 12 and 5,
# outputs (1 variable, 0 on/off) and the room value (ASM) of unit 3.
sensors = [device("FRIDGE AIR", 0x61, 2, 1, b"C"), device("FRDG EVAP", 0x62, 2, 1, b"C"),
           device("FRDG TRIP", 0x63, 8, 0, b" "), device("CHILL AIR", 0x29, 2, 1, b"C")]
outputs = [device("FRZ FAN", 0x19, 1, 0, b"%"), device("FRZ COMP", 0x1A, 0, 0, b"%")]
asms = [device("FRZ ROOM", 0x0223, 0, 1, b"C")]
record = struct.pack("<H", 0x101) + text("Simulated site", 41) + text("", 41) + b"\0"
record += struct.pack("<HHIH", 900, 0, 0, 0)
# The units list counts each unit and its airspace; only the units are stored.
record += struct.pack("<h", 2 * len(units))
for number, name, app in units:
    record += struct.pack("<BBBBB", number, 1, 1, 0, 0) + text(name, 17) + struct.pack("<H", app)
for group in (sensors, outputs, asms):
    record += struct.pack("<H", len(group)) + b"".join(group)
open(sys.argv[1], "wb").write(record)
ini = "[Site]\nComTimeouts=10,2000,500,500,300,5000\n"
for number, name, app in units:
    # The simulator's processor identifier is 1000 + the unit's number.
    ini += "[Unit%d]\nProcID=%d\nRomID=256\nProg=%03d-%03d\nApp=%s\n" % (
        number, 1000 + number, app >> 8, app & 0xFF, name)
open(sys.argv[1][:-4] + ".ini", "w").write(ini)
PY
fi

# The demonstration site's map: a floor plan drawn here (three rooms, one per
# unit) and its labels in the ini file's "SiteMap" section: the units and a
# few of the logged devices, placed in their rooms.
python3 - "$site" <<'PY'
import os, struct, sys, zlib
folder = os.path.dirname(sys.argv[1])
ini_path = sys.argv[1][:-4] + ".ini"
width, height = 480, 320
floor, wall, room_colours = (236, 232, 220), (60, 60, 70), [(200, 225, 245), (210, 240, 210), (245, 225, 200)]
pixels = [[floor] * width for _ in range(height)]
def fill(x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        pixels[y][x0:x1] = [colour] * (x1 - x0)
def frame(x0, y0, x1, y1, thick=3):
    fill(x0, y0, x1, y0 + thick, wall); fill(x0, y1 - thick, x1, y1, wall)
    fill(x0, y0, x0 + thick, y1, wall); fill(x1 - thick, y0, x1, y1, wall)
rooms = [(20, 20, 170, 300), (170, 20, 320, 300), (320, 20, 460, 300)]
for (x0, y0, x1, y1), colour in zip(rooms, room_colours):
    fill(x0, y0, x1, y1, colour)
    frame(x0, y0, x1, y1)
    fill((x0 + x1) // 2 - 15, y1 - 3, (x0 + x1) // 2 + 15, y1, floor)  # a door
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
open(os.path.join(folder, "DemoMap.png"), "wb").write(png)
ini = open(ini_path).read() if os.path.exists(ini_path) else ""
if "[SiteMap]" not in ini:
    labels = ["U,3,40,40", '"A","FRZ ROOM",40,90', 'O,"FRZ FAN",40,130',
              "U,5,190,40", 'S,"CHILL AIR",190,90',
              "U,12,340,40", 'S,"FRIDGE AIR",340,90', 'S,"FRDG EVAP",340,130']
    ini += "[SiteMap]\nImage=DemoMap.png\n" + "".join(
        "MO%03d=%s\n" % (n, label) for n, label in enumerate(labels, 1))
    open(ini_path, "w").write(ini)
PY

# The simulated site, and the stored-settings addresses of its units'
# application, where the trip flags are found.
scenario=$demo/site.scn
cat > "$scenario" <<'SCN'
unit 3 alarms 0x0009 name FREEZER3
unit 5 name CHILLER5
unit 12 app 0x0C05 name FRIDGE12
unit 12 ee 12 words 0x00A0
unit 3 ee 32 bytes 0x38 0xFF 20 3 5
unit 5 ee 32 bytes 0x1E 0x00 15 1 1
unit 12 ee 32 bytes 0x28 0x00 25 2 7
logger prefill 400
logger fast 5000
logger devices sensor:0x61:2 sensor:0x62:2 trip:0x63 sensor:0x29:2 output:0x19 onoff:0x1A asm:0x0223
SCN
mkdir -p "$demo/home/st"
# The units' application: its named EE addresses and the definition file of
# its settings, which the unit view lists (double-click a unit).
printf '012-005,FRIDGE\r\n12,TRIPFLAGS\r\n32,SETPOINT\r\n34,DIFF\r\n35,FANMODE\r\n36,LOADS\r\n' \
  > "$demo/home/st/012-005.st"
mkdir -p "$demo/home/Adf"
cat > "$demo/home/Adf/FRIDGE.adf" <<'ADF'
; Settings of the demonstration's refrigeration application
STWORDSET,SetPt,"Room set point",,,SETPOINT,W,1,-400,400,-1,C
STBYTESET,Diff,"Differential",,,DIFF,B,1,1,100,-1,C
STBYTEPICK,FanMode,"Evaporator fan",,,FANMODE,B,1,0,3,0,,0,"Off,On,Cycling,Auto"
STBYTEMASK,Loads,"Loads fitted",,,LOADS,B,1,0,255,0,,0,"1=Fan,2=Heater,4=Light"
ADF

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
