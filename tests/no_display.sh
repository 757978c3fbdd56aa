#!/usr/bin/env bash
# Without a display the program says so in one line and exits with status 1, without a crash.
set -u
# Settings of the test's own: a choice the user remembered must not change what it sees.
export XDG_CONFIG_HOME=$(mktemp -d)
program=$1
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
status=$?
lines=$(printf '%s\n' "$output" | grep -c .)
if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q 'xvfb-run' <<<"$output"; then
    printf 'expected one line and status 1, got status %s:\n%s\n' "$status" "$output"
    exit 1
fi
output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$program" 2>&1)
status=$?
if [ "$status" -ne 1 ] || ! grep -q 'DISPLAY=:97' <<<"$output"; then
    printf 'a dead display: expected status 1, got %s:\n%s\n' "$status" "$output"
    exit 1
fi
echo "no display: reported in one line"
