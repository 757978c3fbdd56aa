#!/usr/bin/env bash
# Under a window manager (openbox on Xvfb), as a user has the program: leaving full screen or
# the projector view brings the window back where it was, pixel for pixel, its title bar on the
# screen; a remembered zoom that fits the screen only without the title bar is not applied.
set -u
program=$1
export LC_ALL=C.UTF-8
# What every session does first: its own settings (with the given lines, if any), the window
# manager, and the program's window shown.
prologue='set -u
program=$1 settings=$2
work=$(mktemp -d)
trap '"'"'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; kill "$wm" 2>/dev/null; rm -rf "$work"'"'"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME/kon-obikolka"
[ -z "$settings" ] || printf "%b" "$settings" >"$XDG_CONFIG_HOME/kon-obikolka/knight-tour.conf"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
env -u QT_QPA_PLATFORM "$program" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "шахмат" | head -n 1)
[ -n "$window" ] || { echo "no window appeared"; exit 1; }
sleep 1
'
session() { # SCREEN SETTINGS, then the rest of the session's script on standard input
    xvfb-run -a -s "-screen 0 $1" bash -c "$prologue$(cat)" _ "$program" "$2"
}

session 1024x768x24 '' <<'SESSION'
import -window root "$work/before.png"
status=0
differs() { [ "$(compare -metric AE "$1" "$2" /dev/null 2>&1)" != 0 ]; }
# Each key changes the screen: the next is pressed once the change is over (the screen the same
# twice in a row), however long a busy machine takes.
press() { # KEY
    import -window root "$work/pressed.png"
    xdotool key "$1"
    local settled=no
    for _ in $(seq 60); do
        sleep 0.3
        import -window root "$work/now.png"
        if differs "$work/pressed.png" "$work/now.png"; then
            if [ -e "$work/last.png" ] && ! differs "$work/last.png" "$work/now.png"; then settled=yes; break; fi
            cp "$work/now.png" "$work/last.png"
        fi
    done
    rm -f "$work/last.png"
    [ $settled = yes ] || echo "the screen did not settle after $1"
}
# Each way out must give back the very screen it began from.
for keys in "F11 F11" "F10 Escape" "F10 F10" "ctrl+plus F11 Escape ctrl+0"; do
    for key in $keys; do press "$key"; done
    import -window root "$work/after.png"
    if differs "$work/before.png" "$work/after.png"; then
        echo "after $keys the screen is not as before"
        status=1
    fi
done
[ $status = 0 ] && echo "full screen and the projector view give the window back as it was"
exit $status
SESSION
first=$?

session 800x590x24 '[view]\nzoom=125\n' <<'SESSION'
eval "$(xdotool getwindowgeometry --shell "$window")"
# 585 x 579 at 125 %: with a title bar it would not fit 590 lines.
[ "$WIDTH" = 468 ] && [ "$HEIGHT" = 463 ] || { echo "on 800 x 590 the remembered zoom made the window ${WIDTH}x$HEIGHT"; exit 1; }
echo "a zoom that does not fit with the title bar is not applied"
SESSION
second=$?
exit $((first || second))
