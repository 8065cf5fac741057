#!/usr/bin/env python3
"""Writes the demonstration site into a folder: what the run command and the
display test show the program against the simulator.

    demo-site.py FOLDER

FOLDER/sites/Demo.ste (.ini, DemoMap.png)  the site, its units, devices and map
FOLDER/site.scn                            the simulator's scenario
FOLDER/home/st, FOLDER/home/Adf            the units' application files

The site lists the simulator's three units (each with one room) and the
devices its logger records, with names, so that the units list and the log's
devices are full before any scan; short time-outs so that a scan of absent
units is quick. A site left by an older demonstration (an empty site of 103
bytes) is replaced; a newer one is kept, with the user's changes.
"""
import os
import struct
import sys
import zlib

# number, program name, application (0x0C05 is "012-005")
UNITS = [(3, "FREEZER3", 0x0C05), (5, "CHILLER5", 0x0C05), (12, "FRIDGE12", 0x0C05)]

# The simulated site, and the stored-settings addresses of its units'
# application, where the trip flags are found.
SCENARIO = """\
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
"""

# The units' application: its named EE addresses and the definition file of
# its settings, which the unit view lists (double-click a unit).
SETTINGS_ADDRESSES = "012-005,FRIDGE\r\n12,TRIPFLAGS\r\n32,SETPOINT\r\n34,DIFF\r\n35,FANMODE\r\n36,LOADS\r\n"
DEFINITIONS = """\
; Settings of the demonstration's refrigeration application
STWORDSET,SetPt,"Room set point",,,SETPOINT,W,1,-400,400,-1,C
STBYTESET,Diff,"Differential",,,DIFF,B,1,1,100,-1,C
STBYTEPICK,FanMode,"Evaporator fan",,,FANMODE,B,1,0,3,0,,0,"Off,On,Cycling,Auto"
STBYTEMASK,Loads,"Loads fitted",,,LOADS,B,1,0,255,0,,0,"1=Fan,2=Heater,4=Light"
"""


def text(s, size):
    return s.encode("latin-1").ljust(size, b"\0")


def device(name, address, subtype, exponent, unit):
    # name[11], address, active (1 = yes), subtype, reserved, exponent, units
    return text(name, 11) + struct.pack("<HBBBbc", address, 1, subtype, 0, exponent, unit)


def write_site(site):
    # Sensors (subtype 2: degrees C in tenths; 8: a trip input) on units 12
    # and 5, outputs (1 variable, 0 on/off) and the room value (ASM) of unit 3.
    sensors = [device("FRIDGE AIR", 0x61, 2, 1, b"C"), device("FRDG EVAP", 0x62, 2, 1, b"C"),
               device("FRDG TRIP", 0x63, 8, 0, b" "), device("CHILL AIR", 0x29, 2, 1, b"C")]
    outputs = [device("FRZ FAN", 0x19, 1, 0, b"%"), device("FRZ COMP", 0x1A, 0, 0, b"%")]
    asms = [device("FRZ ROOM", 0x0223, 0, 1, b"C")]
    record = struct.pack("<H", 0x101) + text("Simulated site", 41) + text("", 41) + b"\0"
    record += struct.pack("<HHIH", 900, 0, 0, 0)
    # The units list counts each unit and its airspace; only the units are stored.
    record += struct.pack("<h", 2 * len(UNITS))
    for number, name, app in UNITS:
        record += struct.pack("<BBBBB", number, 1, 1, 0, 0) + text(name, 17) + struct.pack("<H", app)
    for group in (sensors, outputs, asms):
        record += struct.pack("<H", len(group)) + b"".join(group)
    with open(site, "wb") as out:
        out.write(record)
    ini = "[Site]\nComTimeouts=10,2000,500,500,300,5000\n"
    for number, name, app in UNITS:
        # The simulator's processor identifier is 1000 + the unit's number.
        ini += "[Unit%d]\nProcID=%d\nRomID=256\nProg=%03d-%03d\nApp=%s\n" % (
            number, 1000 + number, app >> 8, app & 0xFF, name)
    with open(site[:-4] + ".ini", "w") as out:
        out.write(ini)


def png(pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_map(site):
    """A floor plan (three rooms, one per unit) and its labels in the ini
    file's "SiteMap" section: the units and a few of the logged devices,
    placed in their rooms."""
    folder = os.path.dirname(site)
    ini_path = site[:-4] + ".ini"
    width, height = 480, 320
    floor, wall = (236, 232, 220), (60, 60, 70)
    room_colours = [(200, 225, 245), (210, 240, 210), (245, 225, 200)]
    pixels = [[floor] * width for _ in range(height)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            pixels[y][x0:x1] = [colour] * (x1 - x0)

    def frame(x0, y0, x1, y1, thick=3):
        fill(x0, y0, x1, y0 + thick, wall)
        fill(x0, y1 - thick, x1, y1, wall)
        fill(x0, y0, x0 + thick, y1, wall)
        fill(x1 - thick, y0, x1, y1, wall)

    rooms = [(20, 20, 170, 300), (170, 20, 320, 300), (320, 20, 460, 300)]
    for (x0, y0, x1, y1), colour in zip(rooms, room_colours):
        fill(x0, y0, x1, y1, colour)
        frame(x0, y0, x1, y1)
        fill((x0 + x1) // 2 - 15, y1 - 3, (x0 + x1) // 2 + 15, y1, floor)  # a door
    with open(os.path.join(folder, "DemoMap.png"), "wb") as out:
        out.write(png(pixels))
    ini = open(ini_path).read() if os.path.exists(ini_path) else ""
    if "[SiteMap]" not in ini:
        labels = ["U,3,40,40", '"A","FRZ ROOM",40,90', 'O,"FRZ FAN",40,130',
                  "U,5,190,40", 'S,"CHILL AIR",190,90',
                  "U,12,340,40", 'S,"FRIDGE AIR",340,90', 'S,"FRDG EVAP",340,130']
        ini += "[SiteMap]\nImage=DemoMap.png\n" + "".join(
            "MO%03d=%s\n" % (n, label) for n, label in enumerate(labels, 1))
        with open(ini_path, "w") as out:
            out.write(ini)


def write_file(path, content, newline=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline=newline) as out:
        out.write(content)


def main(folder):
    os.makedirs(os.path.join(folder, "sites"), exist_ok=True)
    site = os.path.join(folder, "sites", "Demo.ste")
    if not os.path.isfile(site) or os.path.getsize(site) <= 103:
        write_site(site)
    write_map(site)
    write_file(os.path.join(folder, "site.scn"), SCENARIO)
    write_file(os.path.join(folder, "home", "st", "012-005.st"), SETTINGS_ADDRESSES, newline="")
    write_file(os.path.join(folder, "home", "Adf", "FRIDGE.adf"), DEFINITIONS)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: demo-site.py FOLDER")
    main(sys.argv[1])
