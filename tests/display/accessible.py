"""What the display test asks of the accessibility interface, as a screen
reader asks it: applications and their windows by name, controls by role and
name, their states and texts, table cells, and actions.

An action is sent without waiting for its answer: a menu command that opens a
modal dialog answers only when the dialog closes, and the test must meanwhile
drive the dialog. Every wait polls with a bound and names what it waited for.
"""
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

from session import Failure  # noqa: E402

POLL = 0.05  # seconds between looks
WAIT = 10  # seconds for a window or a control to come or change


def wait_for(look, what, timeout=WAIT):
    """Polls `look` until it returns something true, which is returned; a
    control that goes away while looked at counts as not there yet."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = look()
        except (GLib.Error, ValueError):
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure("waited %g s for %s" % (timeout, what))
        time.sleep(POLL)


def children(node):
    """The children of `node` as they are now; one that vanishes while read
    is passed over."""
    try:
        count = node.childCount
        found = [node.getChildAtIndex(i) for i in range(count)]
    except (GLib.Error, ValueError):
        return []
    return [child for child in found if child is not None]


def wait_until_read(read, expected, what, timeout=WAIT):
    """Polls `read` until it gives `expected`; a failure names both what was
    expected and what was last read."""
    last = [None]

    def look():
        last[0] = read()
        return last[0] == expected
    try:
        wait_for(look, what, timeout)
    except Failure:
        raise Failure("waited %g s for %s: expected %r, read %r" % (timeout, what, expected, last[0]))


def descendants(node):
    """Depth first."""
    for child in children(node):
        yield child
        yield from descendants(child)


def matches(node, role, name):
    try:
        return node.getRoleName() == role and (name is None or node.name == name)
    except GLib.Error:
        return False


def find(node, role, name=None):
    """The first control under `node` of this role and, unless None, name."""
    return next((n for n in descendants(node) if matches(n, role, name)), None)


def find_all(node, role):
    return [n for n in descendants(node) if matches(n, role, None)]


def application(name):
    return wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                  if a is not None and a.name == name), None),
                    "the application %r on the accessibility bus" % name)


def window(app, role, name):
    """A top-level window of the application, once it shows."""
    return wait_for(lambda: next((w for w in app if w is not None and matches(w, role, name)
                                  and has_state(w, pyatspi.STATE_SHOWING)), None),
                    "the %s %r" % (role, name))


def window_gone(app, role, name, timeout=WAIT):
    wait_for(lambda: not any(w is not None and matches(w, role, name)
                             and has_state(w, pyatspi.STATE_SHOWING) for w in app),
             "the %s %r to close" % (role, name), timeout)


def control(node, role, name, timeout=WAIT):
    return wait_for(lambda: find(node, role, name), "a %s named %r" % (role, name), timeout)


def has_state(node, state):
    return node.getState().contains(state)


def text_of(node):
    """What a screen reader reads of a control: its text, else its name."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


class Actions:
    """Sends actions over the accessibility bus itself, not waiting for the
    answer (see above)."""

    def __init__(self):
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                  GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000, None)
        self.bus = Gio.DBusConnection.new_for_address_sync(
            reply.unpack()[0],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)

    def do(self, node, action):
        """Does the named action ("Press", "Toggle", ...) of an enabled control."""
        wait_for(lambda: has_state(node, pyatspi.STATE_ENABLED), "%r to be enabled" % node.name)
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise Failure("%s %r offers no %r action (only %s)" % (node.getRoleName(), node.name, action, names))
        self.bus.call(node.app.bus_name, node.path, "org.a11y.atspi.Action", "DoAction",
                      GLib.Variant("(i)", (names.index(action),)), None, Gio.DBusCallFlags.NO_AUTO_START,
                      -1, None, None, None)
        self.bus.flush_sync(None)


def records(table):
    """The records of a list laid out newspaper style (its fields repeated
    across the width), read through the Table interface: one dictionary a
    record, by column title, in reading order down each record column;
    empty places are left out."""
    grid = table.queryTable()
    titles = [text_of(grid.getColumnHeader(c)) for c in range(grid.nColumns)]
    fields = titles.index(titles[0], 1) if titles.count(titles[0]) > 1 else len(titles)
    found = []
    for first in range(0, grid.nColumns, fields):
        for row in range(grid.nRows):
            record = {titles[c]: grid.getAccessibleAt(row, c).name for c in range(first, first + fields)}
            if any(value.strip() for value in record.values()):
                found.append(record)
    return found


def cell_of(table, title, value):
    """The cell under the column titled `title` that reads `value`."""
    grid = table.queryTable()
    for column in range(grid.nColumns):
        if text_of(grid.getColumnHeader(column)) == title:
            for row in range(grid.nRows):
                cell = grid.getAccessibleAt(row, column)
                if cell.name == value:
                    return cell
    raise Failure("no cell of %r reads %r under %r" % (table.name, value, title))


KEY_TAB = 0xFF09
KEY_RETURN = 0xFF0D


def press_key(keysym):
    """A key pressed and released on the keyboard, through the X server."""
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def has_focus_within(node):
    """The focus is on `node` or on one of its parts (a table's cell)."""
    return any(has_state(n, pyatspi.STATE_FOCUSED) for n in [node, *descendants(node)])


def tab_to(node, presses=12):
    """Moves the keyboard focus to `node` with Tab, as a keyboard user does."""
    for _ in range(presses):
        if has_focus_within(node):
            return
        press_key(KEY_TAB)
        try:
            wait_for(lambda: has_focus_within(node), "", 0.5)
        except Failure:
            pass
    raise Failure("%d presses of Tab did not bring the focus to the %s %r"
                  % (presses, node.getRoleName(), node.name))
