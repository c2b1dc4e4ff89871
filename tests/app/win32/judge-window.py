#!/usr/bin/env python3
"""Judges one of the program's windows as window-inspector.exe reported it (its JSON on a file):
the styles Windows shows it with, its owner and activation, where the focus is, and the controls'
classes, styles and z-order. With --msaa also what Windows' accessibility layer reads of it.

Usage: judge-window.py DUMP.json Dialog|frmSplash|Form1 [--msaa] [--title TITLE]
Prints each failed check; exit code 1 when one fails."""
import json
import sys

WS_POPUP, WS_CAPTION, WS_BORDER, WS_DLGFRAME = 0x80000000, 0x00C00000, 0x00800000, 0x00400000
WS_VSCROLL, WS_SYSMENU, WS_THICKFRAME = 0x00200000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_TABSTOP = 0x00020000, 0x00010000, 0x00010000
WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x80, 0x40000
ES_MULTILINE, ES_READONLY = 0x4, 0x800
LBS_NOTIFY, LBS_SORT, LBS_MULTIPLESEL, LBS_EXTENDEDSEL = 0x1, 0x2, 0x8, 0x800
BS_TYPEMASK, BS_GROUPBOX = 0xF, 0x7
TITLE = "Quorvin - System Memory Information"


def has(style, *flags):
    return all(style & flag == flag for flag in flags)


def lacks(style, *flags):
    return not any(style & flag for flag in flags)


def taskbar_entry(w):
    """Windows gives a taskbar button to a visible unowned window that is no tool window, and to
    any with WS_EX_APPWINDOW."""
    return bool(w["exstyle"] & WS_EX_APPWINDOW) or (
        w["owner"] is None and not w["exstyle"] & WS_EX_TOOLWINDOW)


def hidden_owner(w):
    return w["owner"] is not None and w["owner"]["class"] == "Quorvin.Owner" and not w["owner"]["visible"]


def centred(w):
    """Centred in the work area, the screen without its taskbar."""
    a, f = w["workArea"], w["frame"]
    return (abs(2 * (f["left"] - a["left"]) + f["width"] - a["width"]) <= 2
            and abs(2 * (f["top"] - a["top"]) + f["height"] - a["height"]) <= 2)


def in_work_area(w):
    """The whole window, frame and title bar, lies in the work area: nothing under the taskbar
    or off the screen, where a window of a fixed size could not be reached."""
    a, f = w["workArea"], w["frame"]
    if (f["left"] >= a["left"] and f["top"] >= a["top"] and f["left"] + f["width"] <= a["left"] + a["width"]
            and f["top"] + f["height"] <= a["top"] + a["height"]):
        return []
    return [f"frame {f} reaches out of the work area {a}"]


def controls(w, kind=None):
    return [c for c in w["controls"] if kind is None or (c.get("layout") or {}).get("kind") == kind]


def named(w, name):
    found = [c for c in w["controls"] if c["name"] == name]
    return found[0] if len(found) == 1 else None


def control_checks(w):
    """Every control of the layout exists once, as Windows' standard control of its kind."""
    faults = []
    classes = {"Frame": "button", "Label": "static", "TextBox": "edit", "CommandButton": "button",
               "ListBox": "listbox", "Picture": "static", "Browser": "atlaxwin"}
    for c in controls(w):
        kind = (c.get("layout") or {}).get("kind")
        if kind is None:
            faults.append(f"child {c['class']} id {c['id']} is no control of the layout")
            continue
        if not c["class"].lower().startswith(classes[kind]):
            faults.append(f"{c['name']} ({kind}) is a {c['class']}")
        if kind == "Frame" and c["style"] & BS_TYPEMASK != BS_GROUPBOX:
            faults.append(f"{c['name']} is no group box (style {c['style']:#x})")
        if kind == "Frame" and c["layout"]["caption"] != c["text"]:
            faults.append(f"{c['name']} says {c['text']!r}, not {c['layout']['caption']!r}")
        if c["visible"] != c["layout"]["visible"]:
            faults.append(f"{c['name']} is {'shown' if c['visible'] else 'hidden'}")
        stop = kind in ("TextBox", "CommandButton", "ListBox", "Browser") and c["layout"]["visible"]
        if stop != bool(c["style"] & WS_TABSTOP) and kind != "Browser":
            faults.append(f"{c['name']} {'lacks' if stop else 'has'} WS_TABSTOP")
    return faults


def list_checks(w):
    faults = []
    for c in controls(w, "ListBox"):
        if not has(c["style"], LBS_NOTIFY) or not lacks(c["style"], LBS_SORT, LBS_MULTIPLESEL, LBS_EXTENDEDSEL):
            faults.append(f"{c['name']}: style {c['style']:#x} is not single selection, notifying, unsorted")
        # A list shows its scroll bar when its rows do not fit, and only then: Windows takes
        # WS_VSCROLL off the style while the bar is hidden. Rows within a few pixels of the
        # height (the border) prove nothing either way.
        height = c["rect"]["height"]
        rows_height = len(c.get("rows", [])) * (c.get("itemHeight") or 0)
        if abs(rows_height - height) > 6 and bool(c["style"] & WS_VSCROLL) != (rows_height > height):
            faults.append(f"{c['name']}: {len(c.get('rows', []))} rows in {height} px, scroll bar "
                          f"{'shown' if c['style'] & WS_VSCROLL else 'hidden'}")
        if c.get("itemHeight") != round(13 * w["dpi"] / 96):
            faults.append(f"{c['name']}: rows {c.get('itemHeight')} px high at {w['dpi']} DPI")
    return faults


def heading_before_list(w):
    """A list's heading lies just above it in z-order: Windows' accessibility layer names a list
    by the static text before it."""
    faults = []
    for heading, lst in (("Label18", "slotsLst"), ("Label19", "memoryLst"), ("Label20", "speedLst")):
        h, l = named(w, heading), named(w, lst)
        if not h or not l or h["z"] != l["z"] - 1:
            faults.append(f"{heading} is not just before {lst} in z-order")
    return faults


def overlaps(a, b):
    return (a["left"] < b["left"] + b["width"] and b["left"] < a["left"] + a["width"]
            and a["top"] < b["top"] + b["height"] and b["top"] < a["top"] + a["height"])


def intersection(a, b):
    left, top = max(a["left"], b["left"]), max(a["top"], b["top"])
    right = min(a["left"] + a["width"], b["left"] + b["width"])
    bottom = min(a["top"] + a["height"], b["top"] + b["height"])
    return {"left": left, "top": top, "width": right - left, "height": bottom - top}


def labels_beneath(w):
    """Labels, pictures and frames are drawn on the window's surface, beneath every button, text
    box and browser they overlap. Z-order is reading order, so one may lie above such a control:
    its window region must then leave the overlap to the control, or it would hide part of it."""
    faults = []
    flat = [c for c in controls(w) if c["layout"] and c["layout"]["kind"] in ("Label", "Picture", "Frame") and c["visible"]]
    windowed = [c for c in controls(w) if c["layout"] and c["layout"]["kind"] in ("CommandButton", "TextBox", "Browser")]
    for top in windowed:
        for flat_control in flat:
            if flat_control["z"] > top["z"] or not overlaps(flat_control["rect"], top["rect"]):
                continue
            shared = intersection(flat_control["rect"], top["rect"])
            region = flat_control.get("region")
            if region is None or any(overlaps(r, shared) for r in region):
                faults.append(f"{flat_control['name']} lies above {top['name']} and hides part of it")
    return faults


def reading_order(w):
    """Windows' accessibility layer reads the children in z-order: each frame before what stands
    in it, each caption label right before the value or list it names."""
    faults = []
    z = {c["name"]: c["z"] for c in controls(w) if c["layout"]}
    for c in controls(w):
        lay = c["layout"]
        if not lay:
            continue
        if lay.get("parent") and z.get(lay["parent"], -1) > c["z"]:
            faults.append(f"{c['name']} is read before its frame {lay['parent']}")
        if lay["captionLabel"] and z.get(lay["captionLabel"]) != c["z"] - 1:
            faults.append(f"{lay['captionLabel']} is not read right before {c['name']}")
    return faults


def msaa_reading_order(w):
    """The same order as the accessibility layer itself hands out the window's children (hidden
    ones too, which it marks invisible and screen readers pass over)."""
    order = [n for n in (w.get("msaaChildren") or []) if n]
    expected = [c["name"] for c in sorted(controls(w), key=lambda c: c["z"]) if c["name"]]
    if not order:
        return ["the accessibility layer gives no children"]
    return [] if order == expected else [f"children read as {order}, not {expected}"]


def accessible_names(w):
    """A screen reader reads every filled value label by its value, and every caption label,
    button and frame by its caption: their window text, which is all Wine's oleacc gives (it names
    no list by its heading, gives every control the client role and no list its rows; the
    headings' z-order stands in for those)."""
    faults = []
    texts = [c for c in controls(w) if c["layout"] and c["layout"]["kind"] in ("Label", "CommandButton", "Frame")
             and c["visible"] and c["text"]]
    has_values = any(c["layout"]["captionLabel"] for c in controls(w) if c["layout"])
    if has_values and not any(c["layout"]["captionLabel"] for c in texts):
        faults.append("no filled value label")
    for c in texts:
        read = (c["msaa"] or {}).get("name")
        if read != c["text"]:
            faults.append(f"{c['name']} is read as {read!r}, shows {c['text']!r}")
    return faults


def check(description, passed):
    return [] if passed else [description]


def dialog(w, title):
    s, x = w["style"], w["exstyle"]
    return (check(f"caption {w['caption']!r}", w["caption"] == title)
            + check(f"no caption with close box (style {s:#x})", has(s, WS_CAPTION, WS_SYSMENU))
            + check(f"resizable or minimizable (style {s:#x})", lacks(s, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX))
            + check(f"a tool window (exstyle {x:#x})", lacks(x, WS_EX_TOOLWINDOW))
            + check(f"not owned by the hidden owner ({w['owner']})", hidden_owner(w))
            + check("has a taskbar entry", not taskbar_entry(w))
            + check("not active", w["active"]) + check("not in the foreground", w["foreground"])
            + check(f"focus in {w['focus']}, not Text1", w["focus"] == "Text1")
            + check("Text1 is no read-only multi-line edit with a scroll bar",
                    named(w, "Text1") and has(named(w, "Text1")["style"], ES_MULTILINE, ES_READONLY, WS_VSCROLL))
            + [f for n, t in (("OKButton", "OK"), ("CancelButton", "Cancel"))
               for f in check(f"{n} says {(named(w, n) or {}).get('text')!r}", (named(w, n) or {}).get("text") == t)]
            + control_checks(w) + labels_beneath(w) + reading_order(w) + in_work_area(w))


def splash(w, title):
    """Read while the scan holds the splash's thread and ends it: the window's own facts only,
    which Windows keeps, not its controls'."""
    s, x = w["style"], w["exstyle"]
    return (check(f"has a caption (style {s:#x})", s & WS_CAPTION != WS_CAPTION)
            + check(f"has a sizing frame (style {s:#x})", lacks(s, WS_THICKFRAME))
            + check(f"a tool window (exstyle {x:#x})", lacks(x, WS_EX_TOOLWINDOW))
            + check(f"not owned by the hidden owner ({w['owner']})", hidden_owner(w))
            + check("has a taskbar entry", not taskbar_entry(w))
            + check(f"not centred ({w['frame']} in {w['workArea']})", centred(w)) + in_work_area(w))


def form1(w, title):
    s, x = w["style"], w["exstyle"]
    return (check(f"caption {w['caption']!r}", w["caption"] == title)
            + check(f"no caption, minimize and close box (style {s:#x})", has(s, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX))
            + check(f"resizable or maximizable (style {s:#x})", lacks(s, WS_THICKFRAME, WS_MAXIMIZEBOX))
            + check(f"a tool window (exstyle {x:#x})", lacks(x, WS_EX_TOOLWINDOW))
            + check("no taskbar entry", taskbar_entry(w))
            + check("not active", w["active"]) + check("not in the foreground", w["foreground"])
            + check(f"focus in {w['focus']}, not slotsLst", w["focus"] == "slotsLst")
            + check("the lists differ in length", len({len(c.get("rows", [])) for c in controls(w, "ListBox")}) == 1)
            + control_checks(w) + list_checks(w) + heading_before_list(w) + labels_beneath(w)
            + reading_order(w) + in_work_area(w))


JUDGES = {"Dialog": (dialog, [accessible_names, msaa_reading_order]), "frmSplash": (splash, []),
          "Form1": (form1, [accessible_names, msaa_reading_order])}


def main():
    args = sys.argv[1:]
    msaa = "--msaa" in args
    title = args[args.index("--title") + 1] if "--title" in args else TITLE
    if len(args) < 2 or args[1] not in JUDGES:
        sys.exit(__doc__)
    window = json.load(open(args[0], encoding="utf-8"))
    judge, msaa_judges = JUDGES[args[1]]
    faults = judge(window, title)
    if msaa:
        faults += [f"MSAA: {f}" for j in msaa_judges for f in j(window)]
    for fault in faults:
        print(f"{args[1]}: {fault}")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
