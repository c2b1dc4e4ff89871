# Shell functions for driving the programs on an X display as a person would, shared by the
# end-to-end tests and the start-up benchmarks. Source it; it only defines functions.

# Starts a virtual X server on a display numbered from the given base up, and exports DISPLAY.
# Its process id is in xvfb_pid.
start_virtual_display() { # base display number, [screen size, 1280x1024 unless given]
    local display=:$(($1 + RANDOM % 50))
    Xvfb "$display" -screen 0 "${2:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=$display
    # A program started before the server answers fails at once (Qt aborts without a display).
    for _ in $(seq 200); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "Xvfb on $display did not start" >&2
    return 1
}

# Starts openbox unless a window manager runs already: close boxes need one, and without one
# Wine waits two seconds for every window it hides. Its process id is in wm_pid, empty when
# another window manager was there.
start_window_manager() {
    wm_pid=
    wmctrl -m >/dev/null 2>&1 && return 0
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1
}

# Waits up to the given seconds for the program started as $pid to end and puts its exit code in
# rc; one that does not end is killed, and rc says "timeout".
wait_exit() { # seconds
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; rc=$?; return 0; }
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    rc=timeout
    return 1
}

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

now() { date +%s.%N; }

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
