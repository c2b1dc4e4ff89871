#!/usr/bin/env bash
# The real program as a screen reader reads it: under Xvfb with a session bus and the
# accessibility bus, the tree is read over AT-SPI with pyatspi (screen-reader-tree.py), which
# presses OK, checks what each control is called and does, and invokes the chat's actions.
# The store page comes from a loopback server standing in as the web proxy. As root it runs as
# nobody: the program starts no web engine for root.
# Usage: screen-reader.sh PROGRAM SNAPSHOT_JSON WORK_DIR
set -uo pipefail
program=$1
snapshot=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb openbox dbus-launch /usr/libexec/at-spi-bus-launcher /usr/bin/python3 xdotool; do
    command -v "$tool" >/dev/null || { echo "screen-reader: skipped: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "screen-reader: skipped: pyatspi is not installed"; exit 77; }

if [ "$(id -u)" = 0 ]; then
    runuser -u nobody -- test -x "$program" ||
        { echo "screen-reader: skipped: nobody cannot run $program (a folder on its way is closed)"; exit 77; }
    rm -rf "$work" && mkdir -p "$work" && chown nobody "$work"
    exec runuser -u nobody -- env -i PATH="$PATH" HOME="$work" bash "$0" "$program" "$snapshot" "$work"
fi
mkdir -p "$work"
export HOME=$work XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

source "$here/../../support/desktop.sh"
start_virtual_display 120 || exit 1
start_window_manager
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus_pid=$!
trap 'kill $store_pid $bus_pid $DBUS_SESSION_BUS_PID $wm_pid $xvfb_pid 2>/dev/null; wait 2>/dev/null' EXIT

# The store: any page asked for, through it as the proxy, is a heading and a paragraph.
/usr/bin/python3 -c '
import http.server, sys
class Store(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = b"<!doctype html><title>Store</title><h1>Compatible memory upgrades</h1><p>Two modules fit.</p>"
        self.send_response(200); self.send_header("Content-Type", "text/html"); self.send_header("Content-Length", str(len(body))); self.end_headers(); self.wfile.write(body)
    def log_message(self, *args): pass
server = http.server.HTTPServer(("127.0.0.1", 0), Store)
print(server.server_address[1], flush=True)
server.serve_forever()' >"$work/store.port" &
store_pid=$!
for _ in $(seq 50); do [ -s "$work/store.port" ] && break; sleep 0.1; done
port=$(head -1 "$work/store.port")

# The chat opens through xdg-open, which on a desktop it does not know starts $BROWSER.
cat >"$work/chat-browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" > "$work/chat.tmp" && mv "$work/chat.tmp" "$work/chat-started"
SCRIPT
chmod +x "$work/chat-browser"

QUORVIN_SNAPSHOT=$snapshot QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    BROWSER=$work/chat-browser XDG_CURRENT_DESKTOP= \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --proxy-server=http://127.0.0.1:$port --proxy-bypass-list=<-loopback>" \
    "$program" >"$work/program.log" 2>&1 &
pid=$!
/usr/bin/python3 "$here/screen-reader-tree.py" "$work/chat-started"
status=$?
kill "$pid" 2>/dev/null
[ "$status" = 0 ] || { echo "screen-reader: the program's log:"; tail -20 "$work/program.log"; }
exit "$status"
