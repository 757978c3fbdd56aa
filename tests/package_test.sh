#!/usr/bin/env bash
# Builds the Debian package and checks its control fields and contents.
set -u
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null || { echo "cpack failed"; exit 1; }
deb=$(ls "$out"/*.deb)
fail() { echo "$*"; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = knight-tour ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
# Every Qt library the program and its sound module link against, the typeface and Qt's
# Bulgarian catalogue. The program itself starts without Qt Multimedia.
needed() { objdump -p "$1" | awk '/NEEDED/ && /libQt6/ { print tolower($2) }' | sed 's/\.so\.6$/6/'; }
qt=$(needed "$build/src/app/knight-tour")
[ -n "$qt" ] || fail "no Qt library found in the program"
grep -q multimedia <<<"$qt" && fail "the program links Qt Multimedia; only its sound module may"
qt="$qt $(needed "$build/src/sound/knight-sound.so")"
grep -q multimedia <<<"$qt" || fail "the sound module does not link Qt Multimedia"
for needed in $qt libqt6sql6-sqlite fonts-liberation qt6-translations-l10n; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
id=example.kon_obikolka.KnightTour
for file in ./usr/bin/knight-tour \
            ./usr/lib/knight-tour/knight-sound.so \
            ./usr/share/applications/$id.desktop \
            ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/$id.png \
            ./usr/share/icons/hicolor/256x256/apps/$id.png; do
    grep -qx "$file" <<<"$contents" || fail "missing $file"
done
# Nothing of the build or the tests.
if grep -E '\.a$|_test|bench|/include/' <<<"$contents"; then fail "stray files"; fi
echo "package: $(basename "$deb") with $(grep -c . <<<"$contents") entries"
