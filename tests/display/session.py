"""The desktop the display test runs the program on: a virtual X server, a
session bus of its own (the accessibility bus comes up through it on first
use), the site simulator on its pseudo-terminal and the program, each a
process of its own, all ended again in the reverse order."""
import contextlib
import os
import select
import subprocess
import tempfile
import time

START_TIMEOUT = 10  # seconds for Xvfb, the bus and the simulator to report


class CannotStartDisplay(Exception):
    """No X server could be started here: the test is skipped."""


class Failure(Exception):
    """The program did not do what a user would see it do."""


def read_line(reader, timeout=START_TIMEOUT):
    """The first line written to the pipe `reader`, or "" when none comes in
    time or the writer closes it first."""
    data = b""
    while b"\n" not in data and select.select([reader], [], [], timeout)[0]:
        chunk = os.read(reader, 256)
        if not chunk:
            break
        data += chunk
    return data.split(b"\n")[0].decode().strip() if b"\n" in data else ""


class Desktop(contextlib.ExitStack):
    """Xvfb and a private session bus, set into this process's environment
    (the AT-SPI library reads them when it is first imported)."""

    def __init__(self, folder):
        super().__init__()
        self.folder = folder

    def start(self):
        self.display = self._start_xvfb()
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(runtime, 0o700)
        # The accessibility bus puts its socket under the runtime folder:
        # this run's own, not the user's.
        os.environ.update(DISPLAY=self.display, XDG_RUNTIME_DIR=runtime)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self._start_bus()
        return self

    def spawn(self, arguments, log_name, **options):
        """Starts a process ended (and waited for) with the desktop."""
        log = open(os.path.join(self.folder, log_name), "wb")
        self.callback(log.close)
        options.setdefault("stdout", log)
        process = subprocess.Popen(arguments, stderr=log, **options)
        self.callback(stop, process)
        return process

    def spawn_reporting(self, arguments, log_name, **options):
        """Starts a process that reports one line (its display, its address,
        its port) on the descriptor in `arguments` given as "{fd}"; returns
        the process and the line, "" when none came in time."""
        reader, writer = os.pipe()
        try:
            process = self.spawn([a.format(fd=writer) for a in arguments], log_name,
                                 pass_fds=[writer], **options)
        finally:
            os.close(writer)
        try:
            return process, read_line(reader)
        finally:
            os.close(reader)

    def log_tail(self, log_name, lines=30):
        try:
            with open(os.path.join(self.folder, log_name), "rb") as log:
                return b"\n".join(log.read().splitlines()[-lines:]).decode(errors="replace")
        except OSError:
            return ""

    def _start_xvfb(self):
        try:
            xvfb, number = self.spawn_reporting(["Xvfb", "-displayfd", "{fd}", "-screen", "0", "1280x1024x24",
                                                 "-nolisten", "tcp", "-noreset"], "xvfb.log")
        except OSError as error:
            raise CannotStartDisplay("Xvfb cannot be run (%s)" % error)
        if not number.isdigit():
            stop(xvfb)
            raise CannotStartDisplay("Xvfb reported no display: %s" % self.log_tail("xvfb.log", 5))
        return ":" + number

    def _start_bus(self):
        _, address = self.spawn_reporting(["dbus-daemon", "--session", "--nofork", "--print-address={fd}"],
                                          "bus.log")
        if not address:
            raise Failure("the session bus did not start: " + self.log_tail("bus.log"))
        return address


def stop(process, timeout=5):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def start_simulator(desktop, simulator, scenario):
    """The simulator on a pseudo-terminal; returns the terminal's path."""
    out = os.path.join(desktop.folder, "sim.out")
    with open(out, "wb") as stdout:
        desktop.spawn([simulator, "--scenario", scenario], "sim.log", stdout=stdout)
    port = first_line(out)
    if not port:
        raise Failure("the simulator printed no port: " + desktop.log_tail("sim.log"))
    return port


def first_line(path, timeout=START_TIMEOUT):
    """The first line of a file a starting process writes, "" when it has
    none in time."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        with open(path, "rb") as text:
            data = text.read()
        if b"\n" in data:
            return data.split(b"\n")[0].decode().strip()
        time.sleep(0.05)
    return ""


def make_folder():
    return tempfile.mkdtemp(prefix="quorvel-display-")
