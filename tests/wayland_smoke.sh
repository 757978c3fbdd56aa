#!/usr/bin/env bash
# The window on a Wayland desktop: a headless weston compositor, Qt's Wayland plugin, and the
# program running until it is stopped, with nothing said on the terminal.
set -u
# Settings of the test's own: a choice the user remembered must not change what it sees.
export XDG_CONFIG_HOME=$(mktemp -d)
program=$1
if ! command -v weston >/dev/null || [ ! -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ]; then
    echo "weston or Qt's Wayland plugin is not installed"
    exit 1
fi
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
socket=knight-test-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
compositor=$!
trap 'kill "$compositor" 2>/dev/null; wait; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
output=$(WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland timeout 4 "$program" 2>&1)
status=$?
if [ "$status" != 124 ] || [ -n "$output" ]; then
    printf 'on Wayland: status %s (expected 124, still running), said:\n%s\n' "$status" "$output"
    exit 1
fi
echo "the window ran under a headless Wayland compositor"
