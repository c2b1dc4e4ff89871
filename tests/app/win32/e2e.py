#!/usr/bin/env python3
"""Drives the real Windows program under Wine on an X display of its own, as a person would: clicks
its buttons and pictures, presses keys, and watches which windows come and go. Controls are found
by their designer names through window-inspector.exe, which also reads back the windows' styles,
focus, places, modules and what Windows' accessibility layer says of them; judge-window.py holds
the rules. What the program copies is read back through Windows' own clipboard API, what it asks
of the store's server is seen by a loopback server, and what it starts is a recording stand-in
for the browser.

Usage: e2e.py [OPTIONS] SCENARIO WINE_RUN PROGRAM INSPECTOR CLIPBOARD_TOOL CHAT_RECORDER
              STORE_PORT SNAPSHOT REPORT EXPECTED_DIR ARTIFACT_DIR
SNAPSHOT is the recorded machine the program replays, REPORT the report it must copy for it.
SCENARIO: mouse     Cancel, close box, OK to the results, store request, copy, chat, Wine's WMI
          keyboard  from the keyboard alone: Tab Tab Space on the disclaimer, Tab Space copies
          layout    every control's rectangle against the layout at the prefix's DPI
WINEPREFIX names the test run's Wine prefix; QUORVIN_CHAT_BROWSER the chat browser the program was
built with (CHAT_RECORDER under its Windows name). Exit code 77: a tool is missing."""
import argparse
import importlib.util
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import urllib.parse
from pathlib import Path

HERE = Path(__file__).resolve().parent
TITLE = "Quorvin - System Memory Information"
TOOLS = ["Xvfb", "xdpyinfo", "xdotool", "wmctrl", "import", "openbox"]
WINESERVER = "/usr/lib/wine/wineserver"
# The stand-ins planted beside a program run from a Downloads folder, and where Wine is told to
# prefer such a DLL beside the program to its own.
PLANTED = ["atl.dll", "uxtheme.dll"]


def load_judge():
    spec = importlib.util.spec_from_file_location("judge_window", HERE / "judge-window.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


JUDGE = load_judge()


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class Run:
    """One run: its X server, window manager, taskbar, store server and Wine prefix, and every
    process it started, which go with it however it ends."""

    def __init__(self, args):
        self.args = args
        self.artifacts = Path(args.artifacts)
        self.failures = 0
        self.processes = []
        self.program = None
        self.program_path = Path(args.program)
        self.env = dict(os.environ)
        self.server_log = self.artifacts / "store-requests.log"

    # --- processes
    def spawn(self, command, **kwargs):
        process = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def wine(self, *arguments, capture=True, timeout=120):
        result = subprocess.run([self.args.wine_run, *map(str, arguments)], env=self.env,
                                stdin=subprocess.DEVNULL, capture_output=capture, timeout=timeout)
        return result

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True)
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()

    def fail(self, message):
        print(f"FAIL: {message}", flush=True)
        self.failures += 1

    # --- set-up
    def prepare_prefix(self):
        """A variant of the test run's prefix: its files linked, its registry copied and then
        changed (the Windows version it reports, its DPI)."""
        version, dpi = self.args.windows, self.args.dpi
        if not version and not dpi:
            return
        base = os.environ.get("WINEPREFIX")
        if not base:
            sys.exit("WINEPREFIX names the test run's prefix")
        self.wine("--prepare")
        prefix = Path(f"{base}-{version or ''}{f'dpi{dpi}' if dpi else ''}")
        self.env["WINEPREFIX"] = str(prefix)
        if (prefix / "done").exists():
            return
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["cp", "-al", base, str(prefix)], check=True)
        for hive in prefix.glob("*.reg"):
            hive.unlink()
            shutil.copy(Path(base) / hive.name, hive)
        (prefix / "done").unlink(missing_ok=True)
        if version:
            self.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f")
        if dpi:
            self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                      "REG_DWORD", "/d", str(dpi), "/f")
        subprocess.run([WINESERVER, "-w"], env=self.env)
        (prefix / "done").touch()

    def start_display(self):
        """An X server of its own, so that no other program's windows meet the program's; Wine's
        server, which outlives a program for a while, is started anew on it."""
        for number in range(140, 200):
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            xvfb = self.spawn(["Xvfb", f":{number}", "-screen", "0", f"{self.args.screen}x24",
                               "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
            self.env["DISPLAY"] = f":{number}"
            for _ in range(100):
                if xvfb.poll() is not None:
                    break
                if subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0:
                    return
                time.sleep(0.05)
            xvfb.kill()
        sys.exit("e2e: no X server could be started")

    def start_desktop(self):
        self.start_display()
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True)
        # Close boxes need a window manager, and without one Wine waits two seconds for every
        # window it hides.
        self.spawn(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
        if self.args.taskbar:
            # A taskbar whose strut the window manager, and Wine with it, leave out of the work area.
            self.spawn(["tint2", "-c", str(HERE / "taskbar.tint2rc")], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
            for _ in range(50):
                area = subprocess.run(["xprop", "-root", "_NET_WORKAREA"], env=self.env,
                                      capture_output=True, text=True).stdout
                if area and "= 0, 0" in area and not area.rstrip().endswith(
                        self.args.screen.split("x")[1]):
                    break
                time.sleep(0.1)
        self.server_log.write_text("")
        server_out = self.artifacts / "store-server.out"
        with open(server_out, "w") as out:
            self.spawn([sys.executable, str(HERE / "store-server.py"), str(self.args.port),
                        str(self.server_log)], stdout=out, stderr=subprocess.STDOUT)
        for _ in range(50):
            if "ready" in server_out.read_text():
                break
            time.sleep(0.1)

    def use_downloads_folder(self):
        """The program run where a user's browser leaves it, beside stand-ins named after system
        DLLs, which Wine is told to prefer to its own when the program loads them from there."""
        downloads = self.artifacts / "Downloads"
        shutil.rmtree(downloads, ignore_errors=True)
        downloads.mkdir()
        shutil.copy(self.program_path, downloads)
        planted = Path(self.args.inspector).parent / "planted"
        for dll in PLANTED:
            shutil.copy(planted / dll, downloads)
        self.program_path = downloads / self.program_path.name
        names = ",".join(dll.removesuffix(".dll") for dll in PLANTED)
        self.env["WINEDLLOVERRIDES"] = f"mscoree=;mshtml=;{names}=n,b"

    # --- the program
    def start_program(self, name, snapshot=True):
        env = dict(self.env, LC_ALL="en_US.UTF-8")  # the report's numbers are compared
        if snapshot:
            env["QUORVIN_SNAPSHOT"] = windows_path(self.args.snapshot)
        log = open(self.artifacts / f"{name}.log", "w")
        self.program = subprocess.Popen([self.args.wine_run, str(self.program_path)], env=env,
                                        stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=subprocess.STDOUT)
        self.processes.append(self.program)

    def expect_end(self, what, code):
        """The program ends with the exit code ("nonzero": any failure) and leaves no window."""
        try:
            rc = self.program.wait(15)
        except subprocess.TimeoutExpired:
            self.program.kill()
            rc = "timeout"
        if code == "nonzero":
            if rc in (0, "timeout"):
                self.fail(f"{what}: exit code {rc}")
        elif rc != code:
            self.fail(f"{what}: exit code {rc}")
        if self.titled_windows():
            self.fail(f"{what}: a window stays")

    def start_at_disclaimer(self, name, keep, what, snapshot=True):
        """Starts the program and waits for its disclaimer; None (a failure) when none comes."""
        self.start_program(name, snapshot=snapshot)
        dialog = self.window("Quorvin.Dialog", wait=60, keep=keep)
        if not dialog:
            self.fail(f"{what}: no disclaimer")
            self.kill_program()
        return dialog

    def results_window(self, what):
        """Waits for the results window and reads it; None (a failure) when none comes."""
        form1 = self.window("Quorvin.Form1", wait=60, keep="form1.json")
        if not form1:
            self.fail(f"{what}: no results window")
            self.kill_program()
        return form1

    def kill_program(self):
        if self.program and self.program.poll() is None:
            self.program.kill()

    # --- reading the windows
    def inspect(self, *arguments):
        """The inspector's answer (Windows' CR LF taken out), or None when it failed."""
        with open(self.artifacts / "inspector.log", "ab") as errors:
            result = subprocess.run([self.args.wine_run, self.args.inspector, *map(str, arguments)],
                                    env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=errors, timeout=120)
        self.last_status = result.returncode
        text = result.stdout.decode("utf-8", "replace").replace("\r", "")
        return text if result.returncode == 0 else None

    def window(self, window_class, wait=0, keep=None):
        """What the inspector reads of a visible window of the class, waiting up to wait seconds
        (a fresh prefix takes Wine half a minute) and then half a second more, as a person first
        sees it; kept in the file named keep."""
        arguments = ["--wait", wait] if wait else []
        text = self.inspect(*arguments, window_class)
        if not text:
            return None
        if wait:
            time.sleep(0.5)
            text = self.inspect(window_class)
            if not text:
                return None
        if keep:
            (self.artifacts / keep).write_text(text)
        return json.loads(text)

    def judge(self, window, name):
        faults = JUDGE.JUDGES[name][0](window, TITLE)
        if self.args.msaa:
            faults += [f"MSAA: {f}" for j in JUDGE.JUDGES[name][1] for f in j(window)]
        for fault in faults:
            self.fail(f"{name}: {fault}")

    def titled_windows(self):
        """The visible program windows with the title: what a person sees on the screen."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                               env=self.env, capture_output=True, text=True).stdout
        return found.split()

    def activate_at(self, x, y):
        """Brings the X window holding the point to the front with the keyboard focus, as a click
        on it would: Wine gives a click on a window that is not active to the activation alone."""
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], env=self.env,
                             capture_output=True, text=True).stdout.split()
        for window_id in ids:
            geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window_id],
                                      env=self.env, capture_output=True, text=True).stdout
            g = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
            try:
                left, top, width, height = (int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            except (KeyError, ValueError):
                continue
            if width > 1 and left <= x < left + width and top <= y < top + height:
                if subprocess.run(["xdotool", "windowactivate", "--sync", window_id], env=self.env,
                                  capture_output=True).returncode:
                    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], env=self.env,
                                   capture_output=True)
                time.sleep(0.3)
                return

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *map(str, arguments)], env=self.env, capture_output=True)

    def click(self, window_class, control):
        """Clicks a control of a window, found by its designer name."""
        place = self.inspect(window_class, "--control", control)
        if not place:
            self.fail(f"no control {control} on {window_class}")
            return False
        x, y = map(int, place.split())
        self.activate_at(x, y)
        self.xdotool("mousemove", x, y, "click", "1")
        return True

    def focus_of(self, window_class):
        w = self.window(window_class)
        return None if w is None else w["focus"]

    def key_to(self, key, window_class, control):
        """Presses a key (on whatever window has the keyboard focus) and waits for the focus of
        the window to reach the control named."""
        self.xdotool("key", key)
        focus = None
        for _ in range(10):
            focus = self.focus_of(window_class)
            if focus == control:
                return True
            time.sleep(0.2)
        self.fail(f"keyboard: after {key} the focus is in {focus!r}, not {control}")
        return False

    def screenshot(self, name):
        subprocess.run(["import", "-window", "root", str(self.artifacts / f"{name}.png")],
                       env=self.env, capture_output=True)

    # --- what the program put outside itself
    def read_clipboard(self, name):
        out = self.artifacts / name
        out.unlink(missing_ok=True)
        ok = self.wine(self.args.clipboard_tool, windows_path(out)).returncode == 0
        return out.read_bytes() if ok and out.exists() else None

    def clear_clipboard(self):
        self.wine(self.args.clipboard_tool, "--clear")

    def read_and_close_box(self, keep, icon):
        """Waits for a message box, keeps its title and texts, checks that it has an icon or none
        as asked and is wide enough for its title, presses its OK button."""
        box = self.window("#32770", wait=60, keep=keep)
        if box is None:
            return None
        texts = [box["caption"]] + [c["text"] for c in box["controls"] if c["class"].lower() == "static"]
        shown = any(c["visible"] and c.get("hasIcon") for c in box["controls"])
        if shown != icon:
            self.fail(f"the box {texts} has {'an' if shown else 'no'} icon (see {keep})")
        # The title bar is the window manager's, whose bold font runs up to half again as wide
        # as Wine's caption font.
        fit = box["captionFit"]
        if fit["width"] * 3 // 2 > fit["room"]:
            self.fail(f"the box {texts} is too narrow for its title: {fit['width']} px in {fit['room']}")
        for c in box["controls"]:
            if c["text"] == "OK":
                s = c["screen"]
                x, y = s["left"] + s["width"] // 2, s["top"] + s["height"] // 2
                self.activate_at(x, y)
                self.xdotool("mousemove", x, y, "click", "1")
        return texts

    def copy_check(self, what):
        copied = self.read_clipboard(f"report-{what}.txt")
        if copied is None:
            self.fail(f"copy {what}: nothing on the clipboard")
        elif copied != Path(self.args.report).read_bytes():
            self.fail(f"copy {what}: the report differs (see {self.artifacts}/report-{what}.txt)")

    def store_request_check(self):
        expected = [
            ("manufacturer", "Not Available"), ("mdlname", "P8Z77-V LX"), ("bName", "P8Z77-V LX"),
            ("maxmemory", "32 GB"), ("totalslots", "4  (Currently Memory in 2 Slots)"),
            ("memoryspeeds", "1600 MHz,1333 MHz,"), ("memorysize", "8192 MB,4096 MB,"),
            ("processorspeed", "3400"), ("site", "Brindlemark"),
        ]
        pages = []
        for _ in range(50):  # the page's request reaches the server soon after the window shows
            targets = self.server_log.read_text(encoding="latin-1").splitlines()
            pages = [t for t in targets if urllib.parse.urlsplit(t).path == "/mc/quorvin.asp"]
            if pages:
                break
            time.sleep(0.1)
        if len(pages) != 1:
            self.fail(f"scan: {len(pages)} requests for /mc/quorvin.asp (see {self.server_log})")
            return
        query = urllib.parse.parse_qsl(urllib.parse.urlsplit(pages[0]).query, keep_blank_values=True)
        if query != expected:
            self.fail(f"scan: the store page's query {query}, expected {expected}")

    # --- the windows' facts
    def layout_check(self, window_class, name):
        """The window's controls where the layout puts them at its DPI (the browser and its
        frames shorter by as much as the window, where the work area is too low)."""
        text = self.inspect(window_class, "--layout")
        (self.artifacts / f"layout-{name}.txt").write_text(text or "")
        if self.last_status != 0:
            self.fail(f"{name}'s controls are not where the layout puts them "
                      f"(see {self.artifacts}/layout-{name}.txt)")

    def shortened_check(self, form1):
        """On a screen too low for it the results window was shortened to fit (the run proves
        nothing otherwise); elsewhere it keeps its designed height."""
        shortened = "0 px shorter" not in (self.artifacts / "layout-Form1.txt").read_text()
        if shortened != self.args.expect_shortened:
            self.fail(f"the results window is {'' if shortened else 'not '}shortened "
                      f"(frame {form1['frame']}, work area {form1['workArea']})")

    def windows_version_check(self, w):
        wanted = {"": "", "win7": "6.1.7601", "win8": "6.2.9200", "win81": "6.3.9600"}.get(
            self.args.windows or "", "10.0")
        if not w["windowsVersion"].startswith(wanted):
            self.fail(f"the prefix reports Windows {w['windowsVersion']}, not {self.args.windows}")

    def modules_check(self, window_class):
        """Nothing the program loaded comes from its own folder but the program itself; the
        system's atl.dll is among what it loaded, so the list is whole."""
        listing = self.inspect(window_class, "--modules")
        if listing is None:
            self.fail("the program's modules could not be listed")
            return
        (self.artifacts / "modules.txt").write_text(listing)
        folder = windows_path(self.program_path.parent).lower() + "\\"
        modules = [m.lower() for m in listing.splitlines() if m]
        beside = [m for m in modules if m.startswith(folder) and not m.endswith(".exe")]
        if beside:
            self.fail(f"the program loaded DLLs from its own folder: {beside}")
        if not any(m.endswith("\\system32\\atl.dll") for m in modules):
            self.fail(f"the program did not load the system's atl.dll: {modules}")


def mouse_scenario(run):
    # --- The disclaimer as Windows shows it, its text, then Cancel: the program ends at once.
    dialog = run.start_at_disclaimer("cancel", "dialog.json", "Cancel")
    if dialog:
        run.screenshot("disclaimer")
        run.judge(dialog, "Dialog")
        run.windows_version_check(dialog)
        run.layout_check("Quorvin.Dialog", "Dialog")
        run.clear_clipboard()
        run.click("Quorvin.Dialog", "Text1")
        run.xdotool("key", "ctrl+a", "ctrl+c")
        time.sleep(0.5)
        text = run.read_clipboard("disclaimer.txt")
        if text is None:
            run.fail("the disclaimer's text could not be copied")
        elif text != (Path(run.args.expected) / "disclaimer.txt").read_bytes():
            run.fail(f"the disclaimer's text differs (see {run.artifacts}/disclaimer.txt)")
        run.click("Quorvin.Dialog", "CancelButton")
        run.expect_end("Cancel", 0)

    # --- The disclaimer's close box ends the program with exit code 0.
    if run.start_at_disclaimer("closebox", "dialog-closebox.json", "close box"):
        subprocess.run(["wmctrl", "-c", TITLE], env=run.env)
        run.expect_end("close box", 0)

    # --- OK: the results filled from the recording; the store page, the copy button and the chat
    # link; closing the results ends the program with exit code 0.
    if run.start_at_disclaimer("scan", "dialog-scan.json", "scan"):
        # The splash stands only while the scan runs: watched for from before the click.
        splash_file = run.artifacts / "splash.json"
        with open(splash_file, "wb") as out:
            watcher = subprocess.Popen([run.args.wine_run, run.args.inspector, "--wait", "30",
                                        "Quorvin.frmSplash"], env=run.env, stdout=out,
                                       stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        time.sleep(1)
        run.click("Quorvin.Dialog", "OKButton")
        form1 = run.results_window("scan")
        if form1:
            if watcher.wait(60) == 0 and splash_file.stat().st_size:
                run.judge(json.loads(splash_file.read_text().replace("\r", "")), "frmSplash")
            else:
                print("e2e: the splash went before it could be read")
            time.sleep(1)
            run.screenshot("results")
            form1 = run.window("Quorvin.Form1", keep="form1.json")
            run.judge(form1, "Form1")
            run.layout_check("Quorvin.Form1", "Form1")
            if len(run.titled_windows()) != 1:
                run.fail("scan: another window stands beside the results")
            run.store_request_check()
            if run.args.downloads:
                run.modules_check("Quorvin.Form1")

            # The copy button puts the report on the clipboard byte for byte, CR LF kept; twice.
            for attempt in (1, 2):
                run.clear_clipboard()
                run.click("Quorvin.Form1", "clipboardCmd")
                time.sleep(0.5)
                run.copy_check(attempt)

            # The chat picture and the chat link start the browser program with the chat address.
            # The program hands Windows the build's browser path with backslashes.
            browser = os.environ["QUORVIN_CHAT_BROWSER"].replace("/", "\\")
            recorder = Path(run.args.recorder)
            record = Path(f"{recorder}.cmdline")
            chat_line = (f'"{browser}" http://127.0.0.1:{run.args.port}'
                         "/support/UserPreChat.aspx?ref=CustomerScanWindow")
            for target in ("Image1", "Label39"):
                record.unlink(missing_ok=True)
                run.click("Quorvin.Form1", target)
                for _ in range(100):
                    if record.exists():
                        break
                    time.sleep(0.1)
                started = record.read_text() if record.exists() else ""
                if started != chat_line:
                    run.fail(f"chat {target}: started with {started!r}")

            # Without the browser program each click says "Browser Not found!!!" once.
            away = Path(f"{recorder}.away")
            recorder.rename(away)
            try:
                for target in ("Image1", "Label39"):
                    run.click("Quorvin.Form1", target)
                    texts = run.read_and_close_box(f"browser-missing-{target}.json", icon=False)
                    if texts is None:
                        run.fail(f"chat {target} without a browser: no message")
                        continue
                    if "Browser Not found!!!" not in texts or TITLE not in texts:
                        run.fail(f"chat {target} without a browser: the box says {texts}")
                    time.sleep(1)
                    if len(run.titled_windows()) != 1:
                        run.fail(f"chat {target} without a browser: a second box")
            finally:
                away.rename(recorder)

            subprocess.run(["wmctrl", "-c", TITLE], env=run.env)
            run.expect_end("closing the results", 0)

    # --- Wine's own WMI lacks a property the scan reads: the error is reported in a message box
    # with the program's title, and the program ends with a failure, leaving no window.
    if not run.start_at_disclaimer("wine-wmi", "dialog-wmi.json", "Wine's WMI", snapshot=False):
        return
    run.click("Quorvin.Dialog", "OKButton")
    if not run.window("#32770", wait=60):
        run.fail("Wine's WMI: no error message")
        run.kill_program()
        return
    run.screenshot("wine-wmi-error")
    texts = run.read_and_close_box("wine-wmi-box.json", icon=True) or []
    if TITLE not in texts:
        run.fail(f"Wine's WMI: the box has another title: {texts}")
    if not any("speed" in t and "Win32_PhysicalMemory" in t for t in texts):
        run.fail(f"Wine's WMI: the box does not name the property: {texts}")
    run.expect_end("Wine's WMI", "nonzero")


def keyboard_scenario(run):
    dialog = run.start_at_disclaimer("keyboard", "dialog.json", "keyboard")
    if not dialog:
        return
    run.judge(dialog, "Dialog")
    # The text cannot be changed: a typed character leaves it as it was.
    run.xdotool("type", "x")
    time.sleep(0.3)
    typed = run.window("Quorvin.Dialog", keep="dialog-typed.json")
    text = [c["text"] for c in typed["controls"] if c["name"] == "Text1"][0] if typed else ""
    if text.encode("utf-8") != (Path(run.args.expected) / "disclaimer.txt").read_bytes():
        run.fail("keyboard: Text1 does not hold the disclaimer after a typed character")
    # Enter and Esc in the text do nothing; Tab Tab Space is OK.
    if (run.key_to("Return", "Quorvin.Dialog", "Text1") and run.key_to("Escape", "Quorvin.Dialog", "Text1")
            and run.key_to("Tab", "Quorvin.Dialog", "CancelButton")
            and run.key_to("Tab", "Quorvin.Dialog", "OKButton")):
        run.xdotool("key", "space")
    form1 = run.results_window("keyboard")
    if not form1:
        return
    run.screenshot("keyboard-results")
    run.judge(form1, "Form1")
    # The first Down selects the first row, and the other two lists follow.
    run.xdotool("key", "Down")
    time.sleep(0.5)
    down = run.window("Quorvin.Form1", keep="form1-down.json")
    selections = [c.get("selection") for c in down["controls"] if c["class"].lower() == "listbox"]
    if selections != [0, 0, 0]:
        run.fail(f"keyboard: Down selects {selections}, not the first row of all three lists")
    # Tab Space copies.
    run.clear_clipboard()
    if run.key_to("Tab", "Quorvin.Form1", "clipboardCmd"):
        run.xdotool("key", "space")
        time.sleep(0.5)
        run.copy_check("keyboard")
    # Tab goes round the other stops, through the store page (which, holding no page under Wine,
    # has no stop of its own to keep the focus), back to the first list.
    for stop in ("WB", "memoryLst", "speedLst", "slotsLst"):
        if not run.key_to("Tab", "Quorvin.Form1", stop):
            break
    # Shift+Tab goes back the same way.
    for stop in ("speedLst", "memoryLst", "WB", "clipboardCmd"):
        if not run.key_to("shift+Tab", "Quorvin.Form1", stop):
            break
    run.xdotool("key", "alt+F4")
    run.expect_end("keyboard: Alt+F4 on the results", 0)


def layout_scenario(run):
    dialog = run.start_at_disclaimer("layout", "dialog.json", "layout")
    if not dialog:
        return
    if run.args.dpi and dialog["dpi"] != run.args.dpi:
        run.fail(f"layout: the disclaimer is at {dialog['dpi']} DPI, not {run.args.dpi}")
    run.judge(dialog, "Dialog")
    run.screenshot(f"disclaimer-{run.args.dpi or 96}dpi")
    run.layout_check("Quorvin.Dialog", "Dialog")
    run.click("Quorvin.Dialog", "OKButton")
    form1 = run.results_window("layout")
    if not form1:
        return
    run.screenshot(f"results-{run.args.dpi or 96}dpi")
    run.layout_check("Quorvin.Form1", "Form1")
    run.shortened_check(form1)
    run.judge(form1, "Form1")
    subprocess.run(["wmctrl", "-c", TITLE], env=run.env)
    run.expect_end("layout: closing the results", 0)


SCENARIOS = {"mouse": mouse_scenario, "keyboard": keyboard_scenario, "layout": layout_scenario}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--msaa", action="store_true",
                        help="also judge what the accessibility layer reads (Wine's 32-bit oleacc)")
    parser.add_argument("--windows", metavar="VER",
                        help="in a copy of the prefix that reports Windows VER (win7, win10...)")
    parser.add_argument("--dpi", type=int, help="in a copy of the prefix with N dots per inch")
    parser.add_argument("--screen", default="1920x1440", help="the X screen's size, WxH")
    parser.add_argument("--taskbar", action="store_true",
                        help="with a taskbar along the bottom that the work area leaves out")
    parser.add_argument("--expect-shortened", action="store_true",
                        help="the results window must be shortened to fit the work area")
    parser.add_argument("--downloads", action="store_true",
                        help="run a copy of the program from a folder with planted DLLs")
    parser.add_argument("scenario", choices=SCENARIOS)
    for name in ("wine_run", "program", "inspector", "clipboard_tool", "recorder", "port",
                 "snapshot", "report", "expected", "artifacts"):
        parser.add_argument(name)
    args = parser.parse_args()
    missing = [tool for tool in TOOLS + (["tint2"] if args.taskbar else []) if not shutil.which(tool)]
    if missing:
        print(f"e2e: skipped: {', '.join(missing)} not installed")
        return 77
    artifacts = Path(args.artifacts)
    artifacts.mkdir(parents=True, exist_ok=True)
    for old in [*artifacts.glob("*.png"), *artifacts.glob("*.json"), *artifacts.glob("*.txt")]:
        old.unlink()

    run = Run(args)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        run.prepare_prefix()
        run.start_desktop()
        if args.downloads:
            run.use_downloads_folder()
        SCENARIOS[args.scenario](run)
    finally:
        run.close()
    print(f"e2e: screenshots and logs in {artifacts}")
    print(f"e2e {args.scenario}: " + ("all passed" if run.failures == 0 else f"{run.failures} failed"))
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main())
