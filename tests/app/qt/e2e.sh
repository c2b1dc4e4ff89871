#!/usr/bin/env bash
# Drives the real program under Xvfb with a window manager, as a person would: clicks its buttons
# and close boxes and watches which windows come and go. Screenshots go to the artifact folder.
# Usage: e2e.sh PROGRAM ARTIFACT_DIR SNAPSHOT_JSON DESKTOP_ENTRY
set -uo pipefail
program=$1
artifacts=$2
snapshot=$3
desktop_entry=$4
mkdir -p "$artifacts"
for tool in Xvfb openbox xdotool wmctrl import xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "e2e: skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/../../support/desktop.sh"
# Room for the results window at 200 %.
start_virtual_display 70 1900x1600
start_window_manager
trap 'kill $wm_pid $xvfb_pid 2>/dev/null; wait 2>/dev/null' EXIT

export QUORVIN_SNAPSHOT=$snapshot QT_QPA_PLATFORM=xcb

# The id of a visible window of the program with the given client size, waiting up to 15 s.
window_of_size() {
    local want=$1 id
    for _ in $(seq 150); do
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            if [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')" = "$want" ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

click_at() { # window x y (client coordinates)
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

start_program() {
    "$program" >"$artifacts/$1.log" 2>&1 &
    pid=$!
}

disclaimer=410x322
results=785x706

# Cancel ends at once, with exit code 0.
start_program cancel
if dialog=$(window_of_size $disclaimer); then
    # The browser's engine starts meanwhile, out of sight.
    sleep 1
    [ "$(xdotool search --onlyvisible --pid "$pid" | grep -cvx "$dialog")" = 0 ] ||
        fail "disclaimer: another window stands beside it"
    import -window root "$artifacts/disclaimer.png"
    click_at "$dialog" 256 300 # CancelButton
    wait_exit 5 && [ "$rc" = 0 ] || fail "Cancel: exit code $rc"
else
    fail "Cancel: no disclaimer"; kill "$pid"
fi

# The disclaimer's close box ends the program.
start_program closebox
if dialog=$(window_of_size $disclaimer); then
    wmctrl -i -c "$dialog"
    wait_exit 5 && [ "$rc" = 0 ] || fail "close box: exit code $rc"
else
    fail "close box: no disclaimer"; kill "$pid"
fi

# OK leads through the splash to the filled results; closing them ends the program.
start_program scan
if dialog=$(window_of_size $disclaimer); then
    click_at "$dialog" 168 300 # OKButton
    import -window root "$artifacts/splash.png"
    if form=$(window_of_size $results); then
        sleep 2 # the store page loads in its frame
        import -window root "$artifacts/results.png"
        [ -z "$(xdotool search --onlyvisible --pid "$pid" --name 'Quorvin' | grep -vx "$form")" ] ||
            fail "scan: another window stands beside the results"
        # Docks and task bars match the window to its desktop entry by the class in WM_CLASS.
        wm_class=$(xprop -id "$form" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = ".*", "\(.*\)"$/\1/p')
        entry_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
        [ -n "$wm_class" ] && [ "$wm_class" = "$entry_class" ] ||
            fail "WM_CLASS class '$wm_class', desktop entry's StartupWMClass '$entry_class'"
        wmctrl -i -c "$form"
        wait_exit 10 && [ "$rc" = 0 ] || fail "closing the results: exit code $rc"
    else
        fail "scan: no results window"; kill "$pid"
    fi
else
    fail "scan: no disclaimer"; kill "$pid"
fi

# As an ordinary user the store page's engine runs, drawing the results window with OpenGL. The
# window appears in its background colour, never black, and the splash stays until it is drawn:
# captured the moment it is mapped and again the moment the splash has gone, it is about as bright
# as its grey face, not near black. The program was started without a session bus: when it has ended,
# no bus it started (dbus-launch, dbus-daemon) nor engine process is left on this display.
user_run() {
    if [ "$(id -u)" != 0 ]; then
        env -u DBUS_SESSION_BUS_ADDRESS "$@"
    else
        local home=$artifacts/nobody-home
        rm -rf "$home" && mkdir -p "$home" && chown nobody "$home"
        runuser -u nobody -- env -i PATH="$PATH" HOME="$home" DISPLAY="$DISPLAY" \
            QUORVIN_SNAPSHOT="$snapshot" QT_QPA_PLATFORM=xcb \
            QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-}" "$@"
    fi
}
# A visible window of the program started as $pid with the given client size, now.
visible_of_size() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')" = "$1" ] &&
            { echo "$id"; return 0; }
    done
    return 1
}
brightness() { convert "$1" -colorspace gray -format '%[fx:mean]' info:; }
splash=242x78
# The processes of a user on this display whose name is given.
on_this_display() { # name
    local p
    for p in $(pgrep -x "$1"); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "$p"
    done
}
# The program started last on this display, waiting up to 10 s for it.
program_on_this_display() {
    local found
    for _ in $(seq 100); do
        found=$(on_this_display "$(basename "$program" | cut -c1-15)" | tail -1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
if [ "$(id -u)" = 0 ] && ! runuser -u nobody -- test -x "$program" -a -r "$snapshot"; then
    echo "e2e: ordinary user: skipped: nobody cannot run $program or read $snapshot"
elif user_run "$program" >"$artifacts/user.log" 2>&1 &
    launcher=$! && pid=$(program_on_this_display) && dialog=$(window_of_size $disclaimer); then
    click_at "$dialog" 168 300 # OKButton
    form=
    for _ in $(seq 1500); do
        form=$(visible_of_size $results) && break
        sleep 0.01
    done
    if [ -n "$form" ]; then
        place=$(xwininfo -id "$form" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
            /Width:/ {w = $2} /Height:/ {h = $2} END {printf "%sx%s+%s+%s", w, h, x, y}')
        import -window root -crop "$place" "$artifacts/user-results-mapped.png"
        mapped=$(brightness "$artifacts/user-results-mapped.png")
        echo "e2e: ordinary user: brightness of the results window when mapped: $mapped"
        awk -v b="$mapped" 'BEGIN { exit !(b > 0.5) }' ||
            fail "ordinary user: the results window appeared black (brightness $mapped)"
        for _ in $(seq 1000); do visible_of_size $splash >/dev/null || break; sleep 0.01; done
        import -window root -crop "$place" "$artifacts/user-results-splash-gone.png"
        shown=$(brightness "$artifacts/user-results-splash-gone.png")
        echo "e2e: ordinary user: brightness of the results window when the splash went: $shown"
        awk -v b="$shown" 'BEGIN { exit !(b > 0.5) }' ||
            fail "ordinary user: the splash went with the results window undrawn (brightness $shown)"
        sleep 2
        import -window root "$artifacts/user-results.png"
        wmctrl -i -c "$form"
    else
        fail "ordinary user: no results window"
    fi
    for _ in $(seq 100); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.1; done
    kill "$launcher" 2>/dev/null
    sleep 0.5
    left=$(for name in dbus-launch dbus-daemon QtWebEngineProc; do on_this_display "$name"; done)
    [ -z "$left" ] || { fail "ordinary user: left running: $(ps -o args= -p $left | tr '\n' ';')"; kill $left; }
else
    fail "ordinary user: no disclaimer"; kill "$launcher"
fi

# On a screen at 200 % the windows keep their layout at twice the pixels, with the chat picture
# and cursor drawn for it: results-200.png is there to be looked at.
export QT_SCALE_FACTOR=2
start_program scaled
unset QT_SCALE_FACTOR
if dialog=$(window_of_size 820x644); then
    click_at "$dialog" 336 600 # OKButton
    if form=$(window_of_size 1570x1412); then
        sleep 2
        import -window root "$artifacts/results-200.png"
        wmctrl -i -c "$form"
        wait_exit 10 && [ "$rc" = 0 ] || fail "200 %: exit code $rc"
    else
        fail "200 %: no results window at twice the size"; kill "$pid"
    fi
else
    fail "200 %: no disclaimer at twice the size"; kill "$pid"
fi

echo "e2e: screenshots in $artifacts"
[ "$failures" = 0 ] && echo "e2e: all passed" || echo "e2e: $failures failed"
exit $((failures > 0))
