#!/usr/bin/python3
"""The program as a user meets it: the built quorvel runs on a virtual X
server, with the site simulator behind its local port, and is driven through
the accessibility interface as a screen reader drives it. It opens the
demonstration site, connects locally, scans the units, reads the units list,
opens a unit's view, downloads the log, reads the status bar, disconnects and
exits; each step checks what the window then shows.

    display_test.py --program build/quorvel --simulator build/tools/sitesim/quorvel-sim

Exit status 0 when every step did what it should, 1 when one did not (the
step, what was awaited and the program's output are printed), and
SKIP_STATUS with a line "skipped: <reason>" only when no X server can be
started here. Debian's Python (/usr/bin/python3) has the AT-SPI bindings.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import CannotStartDisplay, Desktop, Failure, make_folder, start_simulator  # noqa: E402

SKIP_STATUS = 77
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The units of the demonstration site, and those the simulator serves: one
# more, which only a scan that reached the simulator puts in the units list.
SITE_UNITS = [("3", "FREEZER3"), ("5", "CHILLER5"), ("12", "FRIDGE12")]
EXTRA_UNIT = "unit 7 name COLDRM7\n"
SCANNED_UNITS = [("3", "FREEZER3"), ("5", "CHILLER5"), ("7", "COLDRM7"), ("12", "FRIDGE12")]
APPLICATION = "012-005"
UNIT_3_ALARMS = "SENSOR FAILURE+"
# Unit 12's settings as its definition file names them, with the values the
# simulator's unit holds in its EE (set point 40 tenths, differential 25,
# fan mode 2, loads 7).
UNIT_12_SETTINGS = [{"Setting": "SetPt", "Value": "4.0C"}, {"Setting": "Diff", "Value": "2.5C"},
                    {"Setting": "FanMode", "Value": "Cycling"}, {"Setting": "Loads", "Value": "Fan,Heater,Light"}]
JOB_TIMEOUT = 60  # seconds for a scan or a download
WAIT_EXIT = 10  # seconds for the program to end after Exit


def prepare(folder, port):
    """Settings that point the local port at the simulator and the sites
    folder at the demonstration site, with no last site (the program starts
    untitled) and no saving without asking (leaving asks)."""
    config = os.path.join(folder, "config", "Mestra Apps")
    os.makedirs(config)
    with open(os.path.join(config, "Quorvel.conf"), "w") as conf:
        conf.write("[Settings]\nComms\\LocalPort=%s\nPaths\\SitesPath=%s\nPaths\\AutoSave=0\n"
                   % (port, os.path.join(folder, "sites")))


def program_environment(folder):
    env = dict(os.environ, QUORVEL_HOME=os.path.join(folder, "home"), XDG_CONFIG_HOME=os.path.join(folder, "config"),
               QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORMTHEME", None)
    return env


class Scenario:
    """The user's session, step by step; each step waits for what the window
    then shows and fails naming what it waited for."""

    def __init__(self, program, folder):
        import accessible  # reads the desktop's buses as it loads
        self.a = accessible
        self.actions = accessible.Actions()
        self.program = program
        self.sites = os.path.join(folder, "sites")
        self.started = time.monotonic()

    def run(self):
        self.start()
        self.open_site()
        self.connect()
        self.scan()
        self.show_unit()
        self.download()
        self.disconnect()
        self.exit()

    def step(self, text):
        print("%6.1f s  %s" % (time.monotonic() - self.started, text), flush=True)

    def menu(self, name):
        self.actions.do(self.a.control(self.frame, "menu item", name), "Press")

    def press(self, parent, name):
        self.actions.do(self.a.control(parent, "push button", name), "Press")

    def status(self):
        """The status bar's panels as a screen reader reads them: by their
        descriptions, those that have one."""
        bar = next(c for c in self.a.children(self.frame) if self.a.matches(c, "status bar", None))
        return {panel.description: self.a.text_of(panel) for panel in self.a.children(bar) if panel.description}

    def wait_link(self, state):
        self.a.wait_until_read(lambda: self.status().get("Connection"), state,
                               "the status bar's connection panel to read %s" % state)

    def units(self):
        """The units list's records as (unit, program), with the application
        each shows checked."""
        table = self.a.control(self.frame, "table", "Units")
        records = self.a.records(table)
        return [(r["Unit"], r["Program"]) if r["Application"].strip() == APPLICATION else r for r in records]

    def start(self):
        a = self.a
        self.step("the program shows its window, offline")
        self.app = a.application("Quorvel")
        self.frame = a.window(self.app, "frame", "QuorvelXP - Untitled")
        self.wait_link("OFFLINE")

    def open_site(self):
        a = self.a
        self.step("Site > Open...: Demo.ste typed into the file dialog")
        self.menu("Open...")
        dialog = a.window(self.app, "dialog", "Open site")
        a.control(dialog, "text", "File name:").queryEditableText().setTextContents("Demo.ste")
        self.press(dialog, "Open")
        a.window_gone(self.app, "dialog", "Open site")
        a.wait_until_read(lambda: self.frame.name, "QuorvelXP - Demo", "the caption to name the site")
        description = a.control(self.frame, "text", "Description")
        a.wait_until_read(lambda: a.text_of(description), "Simulated site", "the site's description")
        a.wait_until_read(self.units, SITE_UNITS, "the units list to show the site's units")

    def connect(self):
        self.step("Site > Connect Local")
        self.menu("Connect Local")
        self.wait_link("LOCAL")

    def scan(self):
        a = self.a
        self.step("Network > Scan units")
        self.menu("Scan units")
        a.window(self.app, "dialog", "Scan Units")
        a.window_gone(self.app, "dialog", "Scan Units", JOB_TIMEOUT)
        a.wait_until_read(self.units, SCANNED_UNITS, "the units list to show the units scanned")
        # Unit 3 has two alarms (0x0009): the alarm job shows the first by
        # name, and "+" for more.
        table = a.control(self.frame, "table", "Units")
        a.wait_until_read(lambda: {r["Unit"]: r["Status"].strip() for r in a.records(table)},
                          {"3": UNIT_3_ALARMS, "5": "", "7": "", "12": ""}, "the units' alarm status")
        self.step("units list: %s" % "; ".join(" ".join(r.values()) for r in a.records(table)))

    def show_unit(self):
        a = self.a
        self.step("the unit view of unit 12: its row selected, Enter")
        units = a.control(self.frame, "table", "Units")
        a.tab_to(units)
        cell = a.cell_of(units, "Unit", "12")
        self.actions.do(cell, "Toggle")
        a.wait_for(lambda: a.has_state(cell, a.pyatspi.STATE_SELECTED), "unit 12's row to be selected")
        a.press_key(a.KEY_RETURN)
        # The page tab list is named after the page it shows.
        a.control(self.frame, "page tab list", "Unit 12")
        title = a.control(self.frame, "label", "Unit 12  %s   FRIDGE12" % APPLICATION)
        a.wait_for(lambda: a.has_state(title, a.pyatspi.STATE_SHOWING), "unit 12's title to show")
        settings = a.control(self.frame, "table", "Settings")
        a.wait_until_read(lambda: a.records(settings), UNIT_12_SETTINGS, "unit 12's settings from its EE")

    def download(self):
        a = self.a
        self.step("Logging > Download")
        self.menu("Download")
        a.window(self.app, "dialog", "Download Log")
        a.window_gone(self.app, "dialog", "Download Log", JOB_TIMEOUT)
        offer = a.control(self.frame, "push button", "Open downloaded log")
        a.wait_for(lambda: a.has_state(offer, a.pyatspi.STATE_SHOWING), "the status bar to offer the downloaded log")
        # Its description (the tool tip) is the log file the download wrote.
        log = offer.description
        if os.path.dirname(log) != self.sites or not log.upper().endswith(".LOG"):
            raise Failure("the status bar offers %r, not a log file beside the site" % log)
        if not os.path.isfile(log) or os.path.getsize(log) == 0:
            raise Failure("the status bar offers %r, which holds nothing" % log)
        self.step("status bar: %s; offers %s (%d bytes)" % (self.status(), log, os.path.getsize(log)))

    def disconnect(self):
        self.step("Site > Disconnect")
        self.menu("Disconnect")
        self.wait_link("OFFLINE")

    def exit(self):
        a = self.a
        self.step("Site > Exit; Yes to saving the scanned site")
        self.menu("Exit")
        question = a.window(self.app, "alert", "Confirm")
        a.control(question, "label", "Save changes to site?")
        self.press(question, "Yes")
        try:
            status = self.program.wait(WAIT_EXIT)
        except subprocess.TimeoutExpired:
            raise Failure("the program was still running %d s after Exit" % WAIT_EXIT)
        if status != 0:
            raise Failure("the program ended with status %d" % status)
        with open(os.path.join(self.sites, "Demo.ste"), "rb") as site:
            if b"COLDRM7" not in site.read():
                raise Failure("the saved site does not list the unit the scan found")
        self.step("the program has ended, status 0")


def run(desktop, program, simulator, folder):
    """The scenario against a started desktop; returns the exit status."""
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "demo-site.py"), folder], check=True)
    with open(os.path.join(folder, "site.scn"), "a") as scenario:
        scenario.write(EXTRA_UNIT)
    process = None
    try:
        port = start_simulator(desktop, simulator, os.path.join(folder, "site.scn"))
        prepare(folder, port)
        process = desktop.spawn([program], "quorvel.log", env=program_environment(folder), cwd=folder)
        Scenario(process, folder).run()
        return 0
    except Exception as failure:
        if isinstance(failure, Failure):
            print("FAILED: %s" % failure)
        else:
            traceback.print_exc(file=sys.stdout)
        if process is not None and process.poll() is not None:
            print("The program had ended, status %d." % process.returncode)
        print("--- the program's output:\n" + desktop.log_tail("quorvel.log"))
        print("--- the simulator's output:\n" + desktop.log_tail("sim.log"))
        return 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--simulator", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the run's folder (logs, site, settings)")
    args = parser.parse_args()
    folder = make_folder()
    try:
        with Desktop(folder) as desktop:
            try:
                desktop.start()
            except CannotStartDisplay as error:
                print("skipped: %s" % error)
                return SKIP_STATUS
            return run(desktop, os.path.abspath(args.program), os.path.abspath(args.simulator), folder)
    finally:
        if args.keep:
            print("kept %s" % folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
