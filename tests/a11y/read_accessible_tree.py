#!/usr/bin/python3
"""Walks the running program's accessible tree over AT-SPI and checks that an operator using a
screen reader can find the main window, the view tabs, a received spot in the list, only the list's
columns on screen and a monitored line in the packet terminal, and hears newly received lines
announced. Exits 0 when everything was found before the deadline, 1 otherwise; --dump prints the
whole tree."""

import sys
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "Quendra"
FRAME_NAME = "Quendra"
TABS = ("Telnet", "Packet", "DXCluster")
# With nothing configured the optional columns are hidden: only these may be read.
CLASSIC_COLUMNS = ["Station", "Frequency", "Info", "GMT", "Author", "DX-Node"]


def walk(node, depth=0, limit=40):
    """Every accessible below node (node included), depth first; a broken node ends its branch."""
    if node is None or depth > limit:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        yield from walk(child, depth + 1, limit)


def role(node):
    try:
        return node.getRole()
    except Exception:
        return None


def name(node):
    try:
        return node.name or ""
    except Exception:
        return ""


def find_application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and name(app) == APP_NAME:
            return app
    return None


def find_frame(app):
    for node in walk(app, limit=2):
        if role(node) == pyatspi.ROLE_FRAME and name(node) == FRAME_NAME:
            return node
    return None


def find_tabs(frame):
    return {name(node): node for node in walk(frame) if role(node) == pyatspi.ROLE_PAGE_TAB}


def spot_tables(frame):
    """The spot list's table interfaces."""
    for table in walk(frame):
        if role(table) != pyatspi.ROLE_TABLE or name(table) != "Spots":
            continue
        try:
            yield table, table.queryTable()
        except NotImplementedError:
            continue


def spot_columns(frame):
    """What the spot list tells of its columns, each way a screen reader may ask: the column
    count, the column descriptions, the header cells' names, the table's first children; and
    whether a row's children are the row's cells in that order."""
    for table, cells in spot_tables(frame):
        count = cells.nColumns
        told = {
            "count": count,
            "descriptions": [cells.getColumnDescription(c) for c in range(count)],
            "headers": [name(cells.getColumnHeader(c)) for c in range(count)],
            "first children": [name(table.getChildAtIndex(c)) for c in range(count)],
            "children": table.childCount == (cells.nRows + 1) * count,
        }
        if cells.nRows > 0:
            told["children"] = told["children"] and all(
                name(table.getChildAtIndex(count + c)) == name(cells.getAccessibleAt(0, c))
                and cells.getColumnAtIndex(count + c) == c for c in range(count))
        return told
    return None


def shows_classic_columns(told):
    return (told is not None and told["count"] == len(CLASSIC_COLUMNS) and told["children"]
            and all(told[way] == CLASSIC_COLUMNS for way in ("descriptions", "headers", "first children")))


def station_cells(frame):
    """Texts of the spot list's cells that stand under the "Station" column header."""
    found = []
    for _, cells in spot_tables(frame):
        station = [c for c in range(cells.nColumns) if cells.getColumnDescription(c) == "Station"]
        for column in station:
            for row in range(cells.nRows):
                found.append(name(cells.getAccessibleAt(row, column)))
    return found


def terminal_text(frame, terminal_name):
    for node in walk(frame):
        if role(node) == pyatspi.ROLE_TERMINAL and name(node) == terminal_name:
            text = node.queryText()
            return text.getText(0, text.characterCount)
    return None


def press(node):
    """Runs the node's press action, as a screen reader user activating it would."""
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    if "Press" not in names:
        raise RuntimeError("'%s' offers no press action, only %s" % (name(node), names))
    action.doAction(names.index("Press"))


def announced_lines(terminal_name, seconds):
    """Lines the named terminal announces as inserted text within the given time."""
    heard = []

    def on_insert(event):
        if name(event.source) == terminal_name:
            heard.append(str(event.any_data))
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
    timer = GLib.timeout_add(int(seconds * 1000), give_up)
    pyatspi.Registry.start()
    if heard:
        GLib.source_remove(timer)
    pyatspi.Registry.deregisterEventListener(on_insert, "object:text-changed:insert")
    return heard


def dump(app):
    """Prints the tree, one accessible a line, for a person looking into a failure."""
    def branch(node, depth):
        try:
            print("  " * depth + "%s '%s'" % (node.getRoleName(), name(node)))
            children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        except Exception as error:
            print("  " * depth + "(unreadable: %s)" % error)
            return
        for child in children:
            if child is not None and depth < 40:
                branch(child, depth + 1)
    branch(app, 0)


def main():
    station, line, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    deadline = time.monotonic() + seconds
    checks = {"frame": False, "tabs": False, "spot": False, "classic columns": False,
              "packet line": False, "announced line": False}
    columns_told = None
    while time.monotonic() < deadline and not all(checks.values()):
        time.sleep(0.5)
        try:
            app = find_application()
            frame = find_frame(app) if app else None
            if frame is None:
                continue
            checks["frame"] = True
            tabs = find_tabs(frame)
            checks["tabs"] = all(tab in tabs for tab in TABS)
            if not checks["spot"]:
                checks["spot"] = station in station_cells(frame)
            if checks["spot"] and not checks["classic columns"]:
                columns_told = spot_columns(frame)
                checks["classic columns"] = shows_classic_columns(columns_told)
            if checks["classic columns"] and not checks["packet line"] and "Packet" in tabs:
                press(tabs["Packet"])
                text = terminal_text(frame, "Packet output") or ""
                checks["packet line"] = line in text
            if checks["packet line"] and not checks["announced line"]:
                remaining = max(1.0, deadline - time.monotonic())
                heard = announced_lines("Packet output", remaining)
                # What was announced must be lines the terminal now holds, not fragments; a burst
                # of lines arrives as one announcement, its lines joined by line ends.
                lines = (terminal_text(frame, "Packet output") or "").split("\n")
                checks["announced line"] = any(
                    h.strip() and all(part in lines for part in h.split("\n")) for h in heard)
        except Exception as error:  # the tree changes while it is read: try again
            print("retrying after:", error, file=sys.stderr)
    if not all(checks.values()) or "--dump" in sys.argv:
        app = find_application()
        if app is not None:
            dump(app)
        else:
            desktop = pyatspi.Registry.getDesktop(0)
            names = [name(desktop.getChildAtIndex(i)) for i in range(desktop.childCount)]
            print("no '%s' among the applications %s" % (APP_NAME, names))
    if not checks["classic columns"]:
        print("the spot list told of its columns:", columns_told)
    for check, passed in checks.items():
        print(("found " if passed else "MISSING ") + check)
    return 0 if all(checks.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
