#!/usr/bin/python3
"""Listens on the accessibility bus as a screen reader does while the operator only listens: for
the events a screen reader follows, it reads the source's name and role, and for text inserted
into a terminal the inserted text and the text's length, then waits for the next. Prints how many
events of each kind it heard when it is ended (SIGTERM).
    screen_reader_standin.py"""

import signal

import pyatspi
from gi.repository import GLib

EVENTS = ("object:text-changed", "object:text-caret-moved", "object:children-changed",
          "object:property-change", "object:state-changed", "object:selection-changed",
          "object:active-descendant-changed", "object:row-inserted", "object:row-deleted",
          "object:model-changed", "object:visible-data-changed", "object:value-changed",
          "focus:", "window:")
heard = {}


def on_event(event):
    heard[event.type] = heard.get(event.type, 0) + 1
    try:
        source = event.source
        _ = (source.name, source.getRole())
        if event.type.startswith("object:text-changed:insert"):
            _ = (str(event.any_data), source.queryText().characterCount)
    except Exception:
        pass


def stop(*_):
    print(" ".join(f"{kind}={count}" for kind, count in sorted(heard.items())), flush=True)
    pyatspi.Registry.stop()
    return GLib.SOURCE_REMOVE


for kind in EVENTS:
    pyatspi.Registry.registerEventListener(on_event, kind)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, stop)
print("listening", flush=True)
pyatspi.Registry.start()
