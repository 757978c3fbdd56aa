#!/usr/bin/env bash
# Starts the program on 25 fresh X servers that reset when their last client leaves (as
# xvfb-run starts them, without -noreset), with both cores busy: the program must be the
# servers' first and only client and come up every time. Then on screens smaller than the
# scaled window, whose top-left corner must stay on the screen.
set -u
# Settings of the test's own: a choice the user remembered must not change what it sees.
export XDG_CONFIG_HOME=$(mktemp -d)
program=$1
starts=${KNIGHT_FRESH_STARTS:-25}
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work" "$XDG_RUNTIME_DIR"; }
trap cleanup EXIT
for _ in 1 2; do (while :; do :; done) & pids+=($!); done

# A new server: sets server and number once it accepts connections. -displayfd tells without
# a probe connection, which would itself reset the server when it closed.
start_server() { # SCREEN
    local fd="$work/fd.$RANDOM"
    Xvfb -displayfd 3 -screen 0 "$1" 3>"$fd" </dev/null >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 100); do
        [ -s "$fd" ] && { number=$(head -n 1 "$fd"); return 0; }
        sleep 0.1
    done
    return 1
}

failures=0
for i in $(seq "$starts"); do
    start_server 800x600x24 || { echo "start $i: no server"; failures=$((failures + 1)); continue; }
    DISPLAY=:$number "$program" 2>"$work/err" &
    app=$!
    # The program is the server's only client for a second; then the window is looked for,
    # as long as a busy machine needs to show it.
    sleep 1
    window=$(DISPLAY=:$number timeout 30 xdotool search --sync --onlyvisible --name 'шахмат' 2>/dev/null | head -n 1)
    if ! kill -0 "$app" 2>/dev/null; then
        wait "$app"
        echo "start $i on :$number ended with status $?: $(cat "$work/err")"
        failures=$((failures + 1))
    elif [ -z "$window" ]; then
        echo "start $i on :$number: no window"
        failures=$((failures + 1))
    fi
    kill "$app" "$server" 2>/dev/null
    wait "$app" "$server" 2>/dev/null
done
echo "$((starts - failures)) of $starts starts on fresh displays succeeded"

for case in "640x480x24 1.5" "1280x1024x24 3"; do
    read -r screen scale <<<"$case"
    start_server "$screen" || { echo "no server for $screen"; failures=$((failures + 1)); continue; }
    DISPLAY=:$number QT_SCALE_FACTOR=$scale "$program" 2>/dev/null &
    app=$!
    window=$(DISPLAY=:$number timeout 20 xdotool search --sync --onlyvisible --name 'шахмат' | head -n 1)
    if [ -z "$window" ]; then
        echo "$screen at scale $scale: no window"
        failures=$((failures + 1))
    else
        eval "$(DISPLAY=:$number xdotool getwindowgeometry --shell "$window")"
        if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ]; then
            echo "$screen at scale $scale: the window's corner is at $X,$Y, off the screen"
            failures=$((failures + 1))
        fi
    fi
    kill "$app" "$server" 2>/dev/null
    wait "$app" "$server" 2>/dev/null
done
exit $((failures > 0))
