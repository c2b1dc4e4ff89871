#!/usr/bin/env bash
# Drives the real Windows program under Wine on the test run's X display, as a person would: clicks
# its buttons and pictures, presses keys, and watches which windows come and go. Controls are found
# by their designer names through window-inspector.exe, which also reads back the windows' styles,
# focus and places and what Windows' accessibility layer says of them. What the program copies is
# read back through Windows' own clipboard API, what it asks of the store's server is seen by a
# loopback server, and what it starts is a recording stand-in for the browser.
#
# Usage: e2e.sh [OPTIONS] SCENARIO WINE_RUN PROGRAM INSPECTOR CLIPBOARD_TOOL CHAT_RECORDER
#               STORE_PORT SNAPSHOT EXPECTED_DIR ARTIFACT_DIR
# SCENARIO: mouse     Cancel, close box, OK to the results, store request, copy, chat, Wine's WMI
#           keyboard  from the keyboard alone: Tab Tab Space on the disclaimer, Tab Space copies
#           layout    every control's rectangle against the layout at the prefix's DPI
# OPTIONS:  --msaa           also judge what the accessibility layer reads (Wine's 32-bit oleacc)
#           --windows VER    in a copy of the prefix that reports Windows VER (win7, win10...)
#           --dpi N          in a copy of the prefix whose screen has N dots per inch
# WINEPREFIX names the test run's Wine prefix; QUORVIN_CHAT_BROWSER the chat
# browser the program was built with (CHAT_RECORDER under its Windows name).
set -uo pipefail
msaa= windows_version= dpi=
while [ $# -gt 0 ]; do
    case $1 in
    --msaa) msaa=--msaa && shift ;;
    --windows) windows_version=$2 && shift 2 ;;
    --dpi) dpi=$2 && shift 2 ;;
    *) break ;;
    esac
done
scenario=$1 wine_run=$2 program=$3 inspector=$4 clipboard_tool=$5 recorder=$6 port=$7
snapshot=$8 expected=$9 artifacts=${10}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png "$artifacts"/*.json "$artifacts"/*.txt
for tool in Xvfb xdpyinfo xdotool wmctrl import openbox python3; do
    command -v "$tool" >/dev/null || { echo "e2e: skipped: $tool is not installed"; exit 77; }
done
source "$here/../desktop.sh"

# A variant of the test run's prefix: its files linked, its registry copied and then changed.
if [ -n "$windows_version$dpi" ]; then
    base=${WINEPREFIX:?WINEPREFIX names the test run\'s prefix}
    "$wine_run" --prepare
    export WINEPREFIX="$base-${windows_version:-}${dpi:+dpi$dpi}"
    if [ ! -f "$WINEPREFIX/done" ]; then
        rm -rf "$WINEPREFIX"
        cp -al "$base" "$WINEPREFIX"
        for hive in "$WINEPREFIX"/*.reg; do cp --remove-destination "$base/${hive##*/}" "$hive"; done
        rm -f "$WINEPREFIX/done"
        [ -z "$windows_version" ] ||
            "$wine_run" reg add 'HKCU\Software\Wine' /v Version /d "$windows_version" /f
        [ -z "$dpi" ] ||
            "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/done"
    fi
fi

# Each run on an X server of its own, large enough for the results window at 144 DPI, so that no
# other program's windows meet its own; Wine's server, which outlives a program for a while, is
# started anew on it.
own_display() {
    local n
    for n in $(seq 140 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1920x1440x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=:$n
        for _ in $(seq 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.05
        done
        kill "$xvfb_pid" 2>/dev/null
    done
    echo "e2e: no X server could be started" >&2
    return 1
}
own_display || exit 1
/usr/lib/wine/wineserver -k 2>/dev/null
start_window_manager
server_log="$artifacts/store-requests.log"
: >"$server_log"
python3 "$here/store-server.py" "$port" "$server_log" >"$artifacts/store-server.out" 2>&1 &
server=$!
# Whatever a failed step left running in the prefix goes with the test.
trap 'kill $server $wm_pid 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null; kill $xvfb_pid; wait 2>/dev/null' EXIT
for _ in $(seq 50); do grep -q ready "$artifacts/store-server.out" && break; sleep 0.1; done

title="Quorvin - System Memory Information"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

start_program() { # name [environment assignments...]
    local name=$1
    shift
    # In an English locale, whatever the test machine's: the report's numbers are compared.
    env LC_ALL=en_US.UTF-8 "$@" "$wine_run" "$program" >"$artifacts/$name.log" 2>&1 &
    pid=$!
}

# Windows programs end their lines with CR LF.
inspect() {
    local status
    "$wine_run" "$inspector" "$@" 2>>"$artifacts/inspector.log" | tr -d '\r'
    status=${PIPESTATUS[0]}
    return "$status"
}

# Waits up to 60 s (a fresh prefix takes Wine half a minute) for a visible window of the class
# and keeps what the inspector reads of it half a second later, as a person first sees it, in the
# given file.
wait_window() { # class file
    inspect --wait 60 "$1" >"$2" && [ -s "$2" ] && sleep 0.5 && inspect "$1" >"$2"
}

# A window's fact, read out of an inspector file with a Python expression over it (w).
fact() { # file expression
    python3 -c "import json,sys; w=json.load(open(sys.argv[1])); print($2)" "$1"
}

judge() { # file Dialog|frmSplash|Form1
    local faults
    faults=$(python3 "$here/judge-window.py" "$1" "$2" $msaa) || fail "$faults"
}

# The visible program windows with the title, one id a line: what a person sees on the screen.
titled_windows() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null; }

# The X window holding a point of the screen, brought to the front with the keyboard focus as a
# click on it would: Wine gives a click on a window that is not active to the activation alone.
activate_at() { # x y
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        [ "$WIDTH" -gt 1 ] && [ "$1" -ge "$X" ] && [ "$1" -lt $((X + WIDTH)) ] &&
            [ "$2" -ge "$Y" ] && [ "$2" -lt $((Y + HEIGHT)) ] || continue
        xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
        sleep 0.3
        return 0
    done
}

# Clicks a control of a window, found by its designer name.
click() { # class control
    local x y
    read -r x y < <(inspect "$1" --control "$2") || { fail "no control $2 on $1"; return 1; }
    activate_at "$x" "$y"
    xdotool mousemove "$x" "$y" click 1
}

# The control holding the focus of a window, by its designer name.
focus_of() { # class
    inspect "$1" >"$artifacts/focus.json" && fact "$artifacts/focus.json" 'w["focus"]'
}

# The clipboard's text, as Windows hands it out, into a file; and emptying it beforehand, so that
# an old text cannot pass for a new one.
read_clipboard() { # output file
    rm -f "$1"
    "$wine_run" "$clipboard_tool" "$(windows_path "$1")"
}
clear_clipboard() { "$wine_run" "$clipboard_tool" --clear; }

# Waits for a message box, keeps its title and text in a file and presses its OK button.
read_and_close_box() { # output file
    wait_window '#32770' "$artifacts/box.json" || return 1
    fact "$artifacts/box.json" \
        '"\n".join([w["caption"]] + [c["text"] for c in w["controls"] if c["class"].lower() == "static"])' >"$1"
    local x y
    read -r x y < <(fact "$artifacts/box.json" \
        '" ".join(str(c["screen"]["left"] + c["screen"]["width"] // 2) + " " + str(c["screen"]["top"] + c["screen"]["height"] // 2) for c in w["controls"] if c["text"] == "OK")')
    activate_at "$x" "$y"
    xdotool mousemove "$x" "$y" click 1
}

# Waits for the program to end with the given exit code ("nonzero" for any failure) and for its
# windows to go from the screen.
expect_end() { # what code
    wait_exit 15
    if [ "$2" = nonzero ]; then
        [ "$rc" != 0 ] && [ "$rc" != timeout ] || fail "$1: exit code $rc"
    else
        [ "$rc" = "$2" ] || fail "$1: exit code $rc"
    fi
    [ -z "$(titled_windows)" ] || fail "$1: a window stays"
}

screenshot() { import -window root "$artifacts/$1.png"; }

store_request_check() {
    python3 - "$server_log" <<'EOF' || fail "scan: the store page's request (see $server_log)"
import sys, time, urllib.parse
for _ in range(50):  # the page's request reaches the server soon after the window shows
    targets = [line.rstrip("\n") for line in open(sys.argv[1], encoding="latin-1")]
    pages = [t for t in targets if urllib.parse.urlsplit(t).path == "/mc/quorvin.asp"]
    if pages:
        break
    time.sleep(0.1)
if len(pages) != 1:
    sys.exit(f"{len(pages)} requests for /mc/quorvin.asp: {targets}")
query = urllib.parse.parse_qsl(urllib.parse.urlsplit(pages[0]).query, keep_blank_values=True)
expected = [
    ("manufacturer", "Not Available"), ("mdlname", "P8Z77-V LX"), ("bName", "P8Z77-V LX"),
    ("maxmemory", "32 GB"), ("totalslots", "4  (Currently Memory in 2 Slots)"),
    ("memoryspeeds", "1600 MHz,1333 MHz,"), ("memorysize", "8192 MB,4096 MB,"),
    ("processorspeed", "3400"), ("site", "Brindlemark"),
]
if query != expected:
    sys.exit(f"query {query}, expected {expected}")
EOF
}

copy_check() { # what
    if read_clipboard "$artifacts/report-$1.txt"; then
        cmp -s "$artifacts/report-$1.txt" "$expected/report.txt" ||
            fail "copy $1: the report differs (see $artifacts/report-$1.txt)"
    else
        fail "copy $1: nothing on the clipboard"
    fi
}

# Compares the window's controls with the layout at its DPI and keeps the comparison.
layout_check() { # class name
    inspect "$1" --layout >"$artifacts/layout-$2.txt" ||
        fail "$2's controls are not where the layout puts them: $(grep -c DIFF "$artifacts/layout-$2.txt") differ (see $artifacts/layout-$2.txt)"
}

# The prefix reports the Windows it was told to.
windows_version_check() { # file
    local reported wanted
    reported=$(fact "$1" 'w["windowsVersion"]')
    case $windows_version in
    "") return 0 ;;
    win7) wanted=6.1.7601 ;;
    win8) wanted=6.2.9200 ;;
    win81) wanted=6.3.9600 ;;
    *) wanted=10.0 ;;
    esac
    [[ $reported == "$wanted"* ]] || fail "the prefix reports Windows $reported, not $windows_version"
}

snapshot_env=QUORVIN_SNAPSHOT="$(windows_path "$snapshot")"

mouse_scenario() {
    # --- The disclaimer as Windows shows it, its text, then Cancel: the program ends at once.
    start_program cancel "$snapshot_env"
    if wait_window Quorvin.Dialog "$artifacts/dialog.json"; then
        screenshot disclaimer
        judge "$artifacts/dialog.json" Dialog
        windows_version_check "$artifacts/dialog.json"
        layout_check Quorvin.Dialog Dialog
        clear_clipboard
        click Quorvin.Dialog Text1
        xdotool key ctrl+a ctrl+c
        sleep 0.5
        if read_clipboard "$artifacts/disclaimer.txt"; then
            cmp -s "$artifacts/disclaimer.txt" "$expected/disclaimer.txt" ||
                fail "the disclaimer's text differs (see $artifacts/disclaimer.txt)"
        else
            fail "the disclaimer's text could not be copied"
        fi
        click Quorvin.Dialog CancelButton
        expect_end Cancel 0
    else
        fail "Cancel: no disclaimer"
        kill "$pid"
    fi

    # --- The disclaimer's close box ends the program with exit code 0.
    start_program closebox "$snapshot_env"
    if wait_window Quorvin.Dialog "$artifacts/dialog-closebox.json"; then
        wmctrl -c "$title"
        expect_end "close box" 0
    else
        fail "close box: no disclaimer"
        kill "$pid"
    fi

    # --- OK: the results filled from the recording; the store page, the copy button and the chat
    # link; closing the results ends the program with exit code 0.
    start_program scan "$snapshot_env"
    if wait_window Quorvin.Dialog "$artifacts/dialog-scan.json"; then
        # The splash stands only while the scan runs: watched for from before the click.
        inspect --wait 30 Quorvin.frmSplash >"$artifacts/splash.json" &
        local watcher=$!
        sleep 1
        click Quorvin.Dialog OKButton
        if wait_window Quorvin.Form1 "$artifacts/form1.json"; then
            if wait "$watcher" && [ -s "$artifacts/splash.json" ]; then
                judge "$artifacts/splash.json" frmSplash
            else
                echo "e2e: the splash went before it could be read"
            fi
            sleep 1
            screenshot results
            inspect Quorvin.Form1 >"$artifacts/form1.json"
            judge "$artifacts/form1.json" Form1
            layout_check Quorvin.Form1 Form1
            [ "$(titled_windows | wc -l)" = 1 ] || fail "scan: another window stands beside the results"
            store_request_check

            # The copy button puts the report on the clipboard byte for byte, CR LF kept; twice.
            for attempt in 1 2; do
                clear_clipboard
                click Quorvin.Form1 clipboardCmd
                sleep 0.5
                copy_check "$attempt"
            done

            # The chat picture and the chat link start the browser program with the chat address.
            # The program hands Windows the build's browser path with backslashes.
            local browser=${QUORVIN_CHAT_BROWSER:?the build\'s chat browser}
            chat_line="\"${browser//\//\\}\" http://127.0.0.1:$port/support/UserPreChat.aspx?ref=CustomerScanWindow"
            for target in Image1 Label39; do
                rm -f "$recorder.cmdline"
                click Quorvin.Form1 "$target"
                for _ in $(seq 100); do [ -f "$recorder.cmdline" ] && break; sleep 0.1; done
                [ "$(cat "$recorder.cmdline" 2>/dev/null)" = "$chat_line" ] ||
                    fail "chat $target: started with '$(cat "$recorder.cmdline" 2>/dev/null)'"
            done

            # Without the browser program each click says "Browser Not found!!!" once.
            mv "$recorder" "$recorder.away"
            for target in Image1 Label39; do
                click Quorvin.Form1 "$target"
                if read_and_close_box "$artifacts/browser-missing-$target.txt"; then
                    grep -qx "Browser Not found!!!" "$artifacts/browser-missing-$target.txt" &&
                        grep -qx "$title" "$artifacts/browser-missing-$target.txt" ||
                        fail "chat $target without a browser: the box says $(cat "$artifacts/browser-missing-$target.txt")"
                    sleep 1
                    [ "$(titled_windows | wc -l)" = 1 ] || fail "chat $target without a browser: a second box"
                else
                    fail "chat $target without a browser: no message"
                fi
            done
            mv "$recorder.away" "$recorder"

            wmctrl -c "$title"
            expect_end "closing the results" 0
        else
            fail "scan: no results window"
            kill "$pid"
        fi
    else
        fail "scan: no disclaimer"
        kill "$pid"
    fi

    # --- Wine's own WMI lacks a property the scan reads: the error is reported in a message box
    # with the program's title, and the program ends with a failure, leaving no window.
    start_program wine-wmi
    if wait_window Quorvin.Dialog "$artifacts/dialog-wmi.json"; then
        click Quorvin.Dialog OKButton
        if wait_window '#32770' "$artifacts/wine-wmi-box.json"; then
            screenshot wine-wmi-error
            read_and_close_box "$artifacts/wine-wmi-error.txt"
            grep -qx "$title" "$artifacts/wine-wmi-error.txt" ||
                fail "Wine's WMI: the box has another title: $(cat "$artifacts/wine-wmi-error.txt")"
            grep -q "speed" "$artifacts/wine-wmi-error.txt" &&
                grep -q "Win32_PhysicalMemory" "$artifacts/wine-wmi-error.txt" ||
                fail "Wine's WMI: the box does not name the property: $(cat "$artifacts/wine-wmi-error.txt")"
            expect_end "Wine's WMI" nonzero
        else
            fail "Wine's WMI: no error message"
            kill "$pid"
        fi
    else
        fail "Wine's WMI: no disclaimer"
        kill "$pid"
    fi
}

# Presses a key (on whatever window has the keyboard focus: no window is chosen) and waits for the
# focus of the window to reach the control named.
key_to() { # key class control
    xdotool key "$1"
    local focus
    for _ in $(seq 10); do
        focus=$(focus_of "$2") || { fail "keyboard: after $1 there is no $2 any more"; return 1; }
        [ "$focus" = "$3" ] && return 0
        sleep 0.2
    done
    fail "keyboard: after $1 the focus is in '$focus', not $3"
    return 1
}

keyboard_scenario() {
    start_program keyboard "$snapshot_env"
    if ! wait_window Quorvin.Dialog "$artifacts/dialog.json"; then
        fail "keyboard: no disclaimer"
        kill "$pid"
        return
    fi
    judge "$artifacts/dialog.json" Dialog
    # The text cannot be changed: a typed character leaves it as it was.
    xdotool type x
    sleep 0.3
    inspect Quorvin.Dialog >"$artifacts/dialog-typed.json"
    fact "$artifacts/dialog-typed.json" '[c["text"] for c in w["controls"] if c["name"] == "Text1"][0]' |
        head -c -1 | cmp -s - "$expected/disclaimer.txt" ||
        fail "keyboard: Text1 does not hold the disclaimer after a typed character"
    # Enter and Esc in the text do nothing; Tab Tab Space is OK.
    key_to Return Quorvin.Dialog Text1 && key_to Escape Quorvin.Dialog Text1 &&
        key_to Tab Quorvin.Dialog CancelButton && key_to Tab Quorvin.Dialog OKButton &&
        xdotool key space
    if ! wait_window Quorvin.Form1 "$artifacts/form1.json"; then
        fail "keyboard: no results window"
        kill "$pid"
        return
    fi
    screenshot keyboard-results
    judge "$artifacts/form1.json" Form1
    # The first Down selects the first row, and the other two lists follow.
    xdotool key Down
    sleep 0.5
    inspect Quorvin.Form1 >"$artifacts/form1-down.json"
    [ "$(fact "$artifacts/form1-down.json" \
        '[c.get("selection") for c in w["controls"] if c["class"].lower() == "listbox"]')" = "[0, 0, 0]" ] ||
        fail "keyboard: Down does not select the first row of all three lists"
    # Tab Space copies.
    clear_clipboard
    key_to Tab Quorvin.Form1 clipboardCmd && xdotool key space && sleep 0.5 && copy_check keyboard
    # Tab goes round the other stops, through the store page, back to the first list.
    for stop in WB memoryLst speedLst slotsLst; do
        key_to Tab Quorvin.Form1 "$stop" || break
    done
    xdotool key alt+F4
    expect_end "keyboard: Alt+F4 on the results" 0
}

layout_scenario() {
    start_program layout "$snapshot_env"
    if ! wait_window Quorvin.Dialog "$artifacts/dialog.json"; then
        fail "layout: no disclaimer"
        kill "$pid"
        return
    fi
    [ -z "$dpi" ] || [ "$(fact "$artifacts/dialog.json" 'w["dpi"]')" = "$dpi" ] ||
        fail "layout: the disclaimer is at $(fact "$artifacts/dialog.json" 'w["dpi"]') DPI, not $dpi"
    screenshot "disclaimer-${dpi:-96}dpi"
    layout_check Quorvin.Dialog Dialog
    click Quorvin.Dialog OKButton
    if wait_window Quorvin.Form1 "$artifacts/form1.json"; then
        screenshot "results-${dpi:-96}dpi"
        layout_check Quorvin.Form1 Form1
        judge "$artifacts/form1.json" Form1
        wmctrl -c "$title"
        expect_end "layout: closing the results" 0
    else
        fail "layout: no results window"
        kill "$pid"
    fi
}

case $scenario in
mouse) mouse_scenario ;;
keyboard) keyboard_scenario ;;
layout) layout_scenario ;;
*) echo "e2e: no scenario $scenario" && exit 2 ;;
esac

echo "e2e: screenshots and logs in $artifacts"
[ "$failures" = 0 ] && echo "e2e $scenario: all passed" || echo "e2e $scenario: $failures failed"
exit $((failures > 0))
