#!/usr/bin/env bash
# Drives the real Windows program under Wine on the test run's X display, as a person would: clicks
# its buttons and pictures, presses keys, and watches which windows come and go. What the program
# copies is read back through Windows' own clipboard API, what it asks of the store's server is
# seen by a loopback server, and what it starts is a recording stand-in for the browser.
# Usage: e2e.sh WINE_RUN PROGRAM CLIPBOARD_TOOL CHAT_RECORDER STORE_PORT SNAPSHOT EXPECTED_DIR
#               ARTIFACT_DIR
# WINEPREFIX names the test run's Wine prefix; DISPLAY its X server.
set -uo pipefail
wine_run=$1 program=$2 clipboard_tool=$3 recorder=$4 port=$5 snapshot=$6 expected=$7
artifacts=$8
mkdir -p "$artifacts"
[ -n "${DISPLAY:-}" ] || { echo "e2e: skipped: no X display (DISPLAY is not set)"; exit 77; }
for tool in xdotool wmctrl import openbox python3; do
    command -v "$tool" >/dev/null || { echo "e2e: skipped: $tool is not installed"; exit 77; }
done

# The program runs on Windows' own window system.
unset QT_QPA_PLATFORM QT_QPA_FONTDIR

source "$(dirname "$0")/../desktop.sh"
# The test run's display may have no window manager yet.
start_window_manager
server_log="$artifacts/store-requests.log"
: >"$server_log"
python3 "$(dirname "$0")/store-server.py" "$port" "$server_log" >"$artifacts/store-server.out" 2>&1 &
server=$!
# Whatever a failed step left running in the prefix goes with the test.
trap 'kill $server $wm_pid 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null; wait 2>/dev/null' EXIT
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

# The visible program windows with the title, one id a line.
titled_windows() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null; }

# A titled window whose client area has the given size, waiting up to 20 s; sets found. Wine
# draws the frame of a tool window itself, inside the X window; a window manager draws the others'
# outside it. Either way the client area lies centred, with the frame's width below it.
declare -A client_size
window_with_client() { # width height
    local id geometry w h
    for _ in $(seq 200); do
        for id in $(titled_windows); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')
            [ -n "$geometry" ] || continue
            w=${geometry%x*} h=${geometry#*x}
            if [ "$w" -ge "$1" ] && [ "$h" -ge "$2" ] && [ $((w - $1)) -le 16 ] &&
                [ $((h - $2)) -le 40 ]; then
                found=$id
                client_size[$id]="$1 $2"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

# Brings the window to the front with the keyboard focus, as a click on it would: Wine gives a
# click on a window that is not active to the activation alone.
activate() { # window
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
    sleep 0.3
}

click() { # window x y (client coordinates)
    activate "$1"
    local geometry w h cw ch
    geometry=$(xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}')
    w=${geometry%x*} h=${geometry#*x}
    read -r cw ch <<<"${client_size[$1]}"
    local frame=$(((w - cw) / 2))
    xdotool mousemove --window "$1" $((frame + $2)) $((h - ch - frame + $3)) click 1
}

# A message box: a titled window other than the program window given, waiting up to 10 s.
# Sets box.
message_box() { # window that is no box, or ""
    local id
    for _ in $(seq 100); do
        for id in $(titled_windows); do
            [ "$id" = "$1" ] || { box=$id && return 0; }
        done
        sleep 0.1
    done
    return 1
}

# The clipboard's text, as Windows hands it out, into a file; and emptying it beforehand, so that
# an old text cannot pass for a new one.
read_clipboard() { # output file
    rm -f "$1"
    "$wine_run" "$clipboard_tool" "$(windows_path "$1")"
}
clear_clipboard() { "$wine_run" "$clipboard_tool" --clear; }

# Copies a message box's title and text (Ctrl+C, as Windows message boxes do), then presses OK.
read_and_close_box() { # output file
    clear_clipboard
    activate "$box"
    xdotool key ctrl+c
    sleep 0.5
    read_clipboard "$1"
    activate "$box"
    xdotool key Return
}

disclaimer_w=410 disclaimer_h=322 results_w=785 results_h=706

# --- The disclaimer's text, then Cancel: the program ends at once with exit code 0.
start_program cancel QUORVIN_SNAPSHOT="$(windows_path "$snapshot")"
if window_with_client $disclaimer_w $disclaimer_h; then
    dialog=$found
    import -window root "$artifacts/disclaimer.png"
    clear_clipboard
    click "$dialog" 200 100 # into Text1
    xdotool key ctrl+a ctrl+c
    sleep 0.5
    if read_clipboard "$artifacts/disclaimer.txt"; then
        cmp -s "$artifacts/disclaimer.txt" "$expected/disclaimer.txt" ||
            fail "the disclaimer's text differs (see $artifacts/disclaimer.txt)"
    else
        fail "the disclaimer's text could not be copied"
    fi
    click "$dialog" 256 300 # CancelButton
    wait_exit 10 && [ "$rc" = 0 ] || fail "Cancel: exit code $rc"
    [ -z "$(titled_windows)" ] || fail "Cancel: a window stays"
else
    fail "Cancel: no disclaimer"
    kill "$pid"
fi

# --- The disclaimer's close box ends the program with exit code 0.
start_program closebox QUORVIN_SNAPSHOT="$(windows_path "$snapshot")"
if window_with_client $disclaimer_w $disclaimer_h; then
    dialog=$found
    wmctrl -i -c "$dialog"
    wait_exit 10 && [ "$rc" = 0 ] || fail "close box: exit code $rc"
else
    fail "close box: no disclaimer"
    kill "$pid"
fi

# --- OK: the splash, then the results filled from the recording; the store page, the copy button
# and the chat link; closing the results ends the program with exit code 0.
start_program scan QUORVIN_SNAPSHOT="$(windows_path "$snapshot")"
if window_with_client $disclaimer_w $disclaimer_h; then
    dialog=$found
    click "$dialog" 168 300 # OKButton
    import -window root "$artifacts/splash.png"
    if window_with_client $results_w $results_h; then
        form=$found
        sleep 2 # the store page's request reaches the server
        import -window root "$artifacts/results.png"
        [ "$(titled_windows | grep -cvx "$form")" = 0 ] ||
            fail "scan: another window stands beside the results"

        python3 - "$server_log" <<'EOF' || fail "scan: the store page's request (see $server_log)"
import sys, urllib.parse
targets = [line.rstrip("\n") for line in open(sys.argv[1], encoding="latin-1")]
pages = [t for t in targets if urllib.parse.urlsplit(t).path == "/mc/quorvin.asp"]
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

        # The copy button puts the report on the clipboard byte for byte, CR LF kept; twice.
        for attempt in 1 2; do
            clear_clipboard
            click "$form" 648 372 # clipboardCmd
            sleep 0.5
            if read_clipboard "$artifacts/report-$attempt.txt"; then
                cmp -s "$artifacts/report-$attempt.txt" "$expected/report.txt" ||
                    fail "copy $attempt: the report differs (see $artifacts/report-$attempt.txt)"
            else
                fail "copy $attempt: nothing on the clipboard"
            fi
        done

        # The chat picture and the chat link start the browser program with the chat address.
        chat_line="\"$(windows_path "$recorder")\" http://127.0.0.1:$port/support/UserPreChat.aspx?ref=CustomerScanWindow"
        for target in "660 306 picture" "560 350 link"; do
            read -r x y what <<<"$target"
            rm -f "$recorder.cmdline"
            click "$form" "$x" "$y"
            for _ in $(seq 100); do [ -f "$recorder.cmdline" ] && break; sleep 0.1; done
            [ "$(cat "$recorder.cmdline" 2>/dev/null)" = "$chat_line" ] ||
                fail "chat $what: started with '$(cat "$recorder.cmdline" 2>/dev/null)'"
        done

        # Without the browser program each click says "Browser Not found!!!" once.
        mv "$recorder" "$recorder.away"
        for target in "660 306 picture" "560 350 link"; do
            read -r x y what <<<"$target"
            click "$form" "$x" "$y"
            if message_box "$form"; then
                read_and_close_box "$artifacts/browser-missing.txt"
                grep -q "Browser Not found!!!" "$artifacts/browser-missing.txt" ||
                    fail "chat $what without a browser: the box says $(cat "$artifacts/browser-missing.txt")"
                sleep 1
                [ "$(titled_windows | grep -cvx "$form")" = 0 ] ||
                    fail "chat $what without a browser: a second box"
            else
                fail "chat $what without a browser: no message"
            fi
        done
        mv "$recorder.away" "$recorder"

        wmctrl -i -c "$form"
        wait_exit 10 && [ "$rc" = 0 ] || fail "closing the results: exit code $rc"
        [ -z "$(titled_windows)" ] || fail "closing the results: a window stays"
    else
        fail "scan: no results window"
        kill "$pid"
    fi
else
    fail "scan: no disclaimer"
    kill "$pid"
fi

# --- Wine's own WMI lacks a property the scan reads: the error is reported in a message box with
# the program's title, and the program ends with a failure, leaving no window.
start_program wine-wmi
if window_with_client $disclaimer_w $disclaimer_h; then
    dialog=$found
    click "$dialog" 168 300 # OKButton
    if message_box "$dialog"; then
        import -window root "$artifacts/wine-wmi-error.png"
        read_and_close_box "$artifacts/wine-wmi-error.txt"
        grep -q "$title" "$artifacts/wine-wmi-error.txt" ||
            fail "Wine's WMI: the box has another title: $(cat "$artifacts/wine-wmi-error.txt")"
        grep -q "speed" "$artifacts/wine-wmi-error.txt" &&
            grep -q "Win32_PhysicalMemory" "$artifacts/wine-wmi-error.txt" ||
            fail "Wine's WMI: the box does not name the property: $(cat "$artifacts/wine-wmi-error.txt")"
        wait_exit 10 && [ "$rc" != 0 ] && [ "$rc" != timeout ] ||
            fail "Wine's WMI: exit code $rc"
        [ -z "$(titled_windows)" ] || fail "Wine's WMI: a window stays"
    else
        fail "Wine's WMI: no error message"
        kill "$pid"
    fi
else
    fail "Wine's WMI: no disclaimer"
    kill "$pid"
fi

echo "e2e: screenshots and logs in $artifacts"
[ "$failures" = 0 ] && echo "e2e: all passed" || echo "e2e: $failures failed"
exit $((failures > 0))
