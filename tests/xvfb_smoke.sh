#!/usr/bin/env bash
# Starts the real program on an X server (Xvfb), clicks square d4 through the server and reads
# the screen back: d4 turns visited and its eight knight targets reachable. After f5 it is
# killed (SIGKILL) and started again with English remembered as the user's choice: the window
# comes up in English, and Ctrl+R brings the killed walk back.
set -u
program=$1
export LC_ALL=C.UTF-8
xvfb-run -a -s "-screen 0 800x600x24" bash -s "$program" <<'SESSION'
set -u
program=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
# Settings of the test's own, not the user's.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
env -u QT_QPA_PLATFORM "$program" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Физическо възпитание - шахмат' | head -n 1)
[ -n "$window" ] || { echo "no window appeared"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
[ "$WIDTH" = 468 ] && [ "$HEIGHT" = 463 ] || { echo "window is ${WIDTH}x$HEIGHT"; exit 1; }

# Square n stands at 72 + 33 * column, 264 - 33 * row within the window, 33 pixels square.
square_point() { # NAME -> x y just inside the square's top-left corner, away from its number
    local column=$(( $(printf '%d' "'${1:0:1}") - 97 )) row=$(( ${1:1:1} - 1 ))
    echo "$((X + 72 + 33 * column + 4)) $((Y + 264 - 33 * row + 4))"
}
colour_at() { # NAME -> r,g,b as painted on the screen
    read -r x y <<<"$(square_point "$1")"
    /usr/bin/convert "$work/screen.png" -format "%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)]" info:
}

read -r x y <<<"$(square_point d4)"
xdotool mousemove "$((x + 10))" "$((y + 10))" click 1
sleep 1
/usr/bin/import -window root "$work/screen.png"

status=0
expect() { # NAME COLOUR
    local seen
    seen=$(colour_at "$1")
    if [ "$seen" != "$2" ]; then echo "$1 is $seen, expected $2"; status=1; fi
}
expect d4 0,255,255
for target in b3 f3 c2 e2 b5 f5 c6 e6; do expect "$target" 0,200,0; done
expect a1 101,54,0
expect d5 250,250,250
[ $status = 0 ] && echo "the window on Xvfb answered a click on d4"
read -r x y <<<"$(square_point f5)"
xdotool mousemove "$((x + 10))" "$((y + 10))" click 1
sleep 1.5
kill -KILL "$pid"
wait "$pid" 2>/dev/null
kept=$XDG_DATA_HOME/kon-obikolka/knight-tour/last-walk.txt
grep -q '^d4 f5$' "$kept" 2>/dev/null || { echo "the walk was not kept before the kill:"; cat "$kept"; status=1; }

mkdir -p "$XDG_CONFIG_HOME/kon-obikolka"
printf '[General]\nlanguage=en\n' >"$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf"
env -u QT_QPA_PLATFORM "$program" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Physical education – chess' | head -n 1)
if [ -n "$window" ]; then
    echo "the remembered English came back at the next start"
else
    echo "no English window after English was remembered"
    exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowfocus --sync "$window" key ctrl+r
sleep 1
/usr/bin/import -window root "$work/screen.png"
expect d4 0,255,255
expect f5 0,255,255
expect g7 0,200,0
expect a1 101,54,0
[ $status = 0 ] && echo "the walk killed with the program came back with Ctrl+R"
kill "$pid"
wait "$pid" 2>/dev/null

# A sound server that takes the connection and never answers: the gallop with its sound on
# must not hold the window, and Ctrl+Q must end the program at once, cleanly.
if command -v python3 >/dev/null; then
    python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(16)
held = []
while True: held.append(s.accept())' "$work/pulse" &
    server=$!
    sleep 0.5
    printf '[General]\nlanguage=bg\n[gallop]\nsound=true\ntempo=500\n' >"$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf"
    PULSE_SERVER=unix:$work/pulse env -u QT_QPA_PLATFORM "$program" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Физическо възпитание - шахмат' | head -n 1)
    xdotool windowfocus --sync "$window" key F5 key ctrl+g
    sleep 4
    xdotool key ctrl+q
    start=$(date +%s%N)
    timeout 10 tail --pid="$pid" -f /dev/null
    wait "$pid"
    ended=$?
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    kill "$server"
    if [ "$ended" != 0 ] || [ "$took" -gt 3000 ]; then
        echo "with a sound server that never answers, Ctrl+Q ended the program with $ended after $took ms"
        status=1
    else
        echo "a sound server that never answers held nothing"
    fi
fi
# A FIFO where the settings file should be: the start neither hangs nor reads it, and says so.
rm -f "$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf"
mkfifo "$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf"
env -u QT_QPA_PLATFORM "$program" &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name 'Физическо възпитание - шахмат' >/dev/null
sleep 1
if [ "$(xdotool search --onlyvisible --name 'Физическо възпитание - шахмат' | wc -l)" -ge 2 ]; then
    echo "a FIFO for settings: the window came up as at a first start, with a word about it"
else
    echo "a FIFO for settings: no window and its message within 30 s"
    status=1
fi
kill "$pid"
wait "$pid" 2>/dev/null
[ -p "$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf" ] || { echo "the FIFO was replaced"; status=1; }
exit $status
SESSION
