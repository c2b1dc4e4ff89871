#!/usr/bin/python3
"""Reads the running program over AT-SPI as a screen reader does and checks what it finds.
Usage: screen-reader-tree.py CHAT_RECORD (the file the chat browser's stand-in writes)."""
import os
import subprocess
import sys
import time

import pyatspi

TITLE = "Quorvin - System Memory Information"
CHAT_NAME = "Click Here to Chat with Our Customer Representative"
CHAT_ADDRESS = "/support/UserPreChat.aspx?ref=CustomerScanWindow"
chat_record = sys.argv[1]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def wait_for(find, seconds):
    """The first non-empty answer of find() within the time, polled; None when there is none."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes under the reader while windows come and go
            found = None
        if found:
            return found
        time.sleep(0.2)
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def program():
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Quorvin"), None)


def window(role):
    app = program()
    return app and next((w for w in app if w.getRoleName() == role and w.name == TITLE), None)


def find(root, role, name=None):
    return next((n for n in walk(root) if n.getRoleName() == role and
                 (name is None or n.name == name)), None)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(node, name):
    action = node.queryAction()
    action.doAction(actions(node).index(name))


def targets(node, relation):
    return [r.getTarget(i) for r in node.getRelationSet() if r.getRelationType() == relation
            for i in range(r.getNTargets())]


def shown_text(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


# The disclaimer: a dialog named by its title, active, its text box named "Disclaimer".
dialog = wait_for(lambda: window("dialog"), 30)
if not check(dialog is not None, "the disclaimer is a dialog named by the program's title"):
    sys.exit(1)
check(wait_for(lambda: dialog.getState().contains(pyatspi.STATE_ACTIVE), 5),
      "the disclaimer is active when it appears")
text1 = find(dialog, "text")
check(text1 is not None and text1.name == "Disclaimer", "its text box is named Disclaimer")
do_action(find(dialog, "push button", "OK"), "Press")

# The results, once the scan is done.
results = wait_for(lambda: window("frame"), 30)
if not check(results is not None, "the results window appears as a window"):
    sys.exit(1)
check([c.name for c in program()] == [TITLE],
      "the program's accessible windows are the results window alone (no 'Offscreen')")

# Every filled value label: named by the text it shows, labelled by its caption label.
values = [n for n in walk(results) if n.getRoleName() == "label" and
          any(t.getRoleName() == "label" for t in targets(n, pyatspi.RELATION_LABELLED_BY))]
check(len(values) == 18, f"18 value labels are labelled by a caption label ({len(values)})")
for value in values:
    if not value.getState().contains(pyatspi.STATE_SHOWING):
        continue  # the hidden vendor row
    shown = shown_text(value)
    captions = [t for t in targets(value, pyatspi.RELATION_LABELLED_BY)
                if t.getRoleName() == "label"]
    caption = captions[0].name if captions else "?"
    check(value.name == shown, f"'{caption}' reads '{value.name}', as it shows '{shown}'")
    check(any(value in targets(c, pyatspi.RELATION_LABEL_FOR) for c in captions),
          f"'{caption}' is the label for its value")
rows = {t.name: v.name for v in values for t in targets(v, pyatspi.RELATION_LABELLED_BY)
        if t.getRoleName() == "label"}
for caption, expected in [("Maximum RAM", "32 GB"), ("Installed RAM", "15.92 GB"),
                          ("Speed", "3400"), ("No Of Slots", "4  (Currently Memory in 2 Slots)")]:
    check(rows.get(caption) == expected, f"'{caption}' reads '{expected}' ({rows.get(caption)!r})")
memory = find(results, "panel", "Memory")
check(memory is not None, "the Memory frame stays a named grouping")

# The lists, named by their headings.
lists = [n.name for n in walk(results) if n.getRoleName() == "list"]
check(lists == ["Slots", "Memory Size", "Memory Speed"], f"the lists are named {lists}")

# The chat link and picture: a link and an image, both named, both with the action a click
# has; invoking it starts the chat browser on the chat page.
for role in ["link", "image"]:
    control = find(results, role, CHAT_NAME)
    if not check(control is not None, f"the chat {role} is a {role} named '{CHAT_NAME}'"):
        continue
    check(not control.getState().contains(pyatspi.STATE_FOCUSABLE),
          f"the chat {role} stays out of the Tab order")
    if not check(actions(control) == ["activate"], f"the chat {role} has an activate action"):
        continue
    if os.path.exists(chat_record):
        os.remove(chat_record)
    do_action(control, "activate")
    started = wait_for(lambda: os.path.exists(chat_record) and open(chat_record).read(), 10)
    check(bool(started) and started.strip().endswith(CHAT_ADDRESS),
          f"activating the chat {role} starts the chat browser ({started!r})")

# The store page's document has the page's heading and text.
document = wait_for(lambda: find(results, "document web"), 30)
check(document is not None, "the store page is a web document")
heading = wait_for(lambda: document and find(document, "heading", "Compatible memory upgrades"),
                   60)
check(document is not None and document.childCount > 0 and heading is not None,
      "the store page's document holds the page's heading")

# Tab from the first list to the copy button and on to the page: the stop is named by its frame.
def focused():
    return [n for n in walk(results) if n.getState().contains(pyatspi.STATE_FOCUSED)]


subprocess.run(["xdotool", "key", "Tab", "sleep", "0.5", "key", "Tab"], check=False)
stop = wait_for(lambda: [n for n in focused() if n.getRoleName() == "filler" and
                         n.name == "Compatible Memory Upgrade"], 10)
check(bool(stop), "the store page's focus stop is named 'Compatible Memory Upgrade'")

# Back to the lists: Shift+Tab twice lands in the first list; Down selects row 0 in all three,
# and only the list with the focus has a focused row.
subprocess.run(["xdotool", "key", "shift+Tab", "sleep", "0.5", "key", "shift+Tab", "sleep",
                "0.5", "key", "Down"], check=False)
time.sleep(1)
items = [n for n in walk(results) if n.getRoleName() == "list item" and
         n.parent.getRoleName() == "list"]
selected = [n.name for n in items if n.getState().contains(pyatspi.STATE_SELECTED)]
check(selected == ["DIMM0", "8192 MB", "1600 MHz"],
      f"the first Down selects row 0 in all three lists ({selected})")
focused_rows = [n.name for n in items if n.getState().contains(pyatspi.STATE_FOCUSED)]
check(focused_rows == ["DIMM0"], f"one row is focused, in the focused list ({focused_rows})")

print(f"screen-reader: {len(failures)} failed" if failures else "screen-reader: all passed")
sys.exit(1 if failures else 0)
