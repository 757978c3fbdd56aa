#!/usr/bin/env bash
# The command line and the start without a usable display: --help and --version print and
# exit 0 without one, an unknown option exits 2, and every kind of missing or refusing
# display gives one Bulgarian line and exit status 1, never an abort.
set -u
# Settings of the test's own: a choice the user remembered must not change what it sees.
export XDG_CONFIG_HOME=$(mktemp -d)
program=$1
export LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
failures=0
check() { # DESCRIPTION EXPECTED-STATUS EXPECTED-LINES PATTERN -- COMMAND...
    local description=$1 status=$2 lines=$3 pattern=$4
    shift 5
    local output seen count
    output=$("$@" 2>&1)
    seen=$?
    count=$(printf '%s\n' "$output" | grep -c .)
    if [ "$seen" != "$status" ] || { [ "$lines" != any ] && [ "$count" != "$lines" ]; } \
        || ! grep -q -- "$pattern" <<<"$output"; then
        printf 'FAIL %s: status %s (expected %s), %s lines:\n%s\n' "$description" "$seen" "$status" "$count" "$output"
        failures=$((failures + 1))
    fi
}

check "--help" 0 any "Употреба: knight-tour" -- env -u DISPLAY "$program" --help
check "-h" 0 any "--version" -- env -u DISPLAY "$program" -h
check "--version" 0 1 "^knight-tour [0-9]" -- env -u DISPLAY "$program" --version
# The language: the system's English, --lang over it, C and unknown languages Bulgarian.
english=(env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=en_US.UTF-8)
check "--help in English" 0 any "^Usage: knight-tour \[options\] \[WALK\]" -- "${english[@]}" "$program" --help
check "--lang bg over English" 0 any "Употреба: knight-tour" -- "${english[@]}" "$program" --lang bg --help
check "--lang en" 2 1 "unexpected argument “two”; see knight-tour --help" -- "$program" --lang en one two
check "LANGUAGE=de:en" 0 any "^Usage:" -- env -u LC_ALL LANGUAGE=de:en LANG=de_DE.UTF-8 "$program" --help
check "German alone" 0 any "Употреба:" -- env -u LC_ALL -u LANGUAGE LANG=de_DE.UTF-8 "$program" --help
check "a missing value, in English" 2 1 "option --tour needs a value" -- "$program" --lang en --tour
check "unknown language" 2 1 "непознат език „fr“: изберете bg или en" -- "$program" --lang fr
check "--complete in English" 1 1 "both of its neighbours are taken" -- bash -c 'echo "b3 d4 c2 e3" | "$1" --lang en --complete -' _ "$program"
check "--complete, bad walk in English" 2 1 "line 1, column 4, “b2”: not a knight’s move from a1" -- bash -c 'echo "a1 b2" | "$1" --lang en --complete - 2>&1 >/dev/null' _ "$program"
check "unknown option" 2 1 "непозната опция „--colour“" -- "$program" --colour
check "repeated --lang" 2 1 "опцията --lang е зададена повече от веднъж" -- "$program" --lang en --lang bg --help
check "missing value" 2 1 "изисква стойност" -- "$program" -platform
check "unexpected argument" 2 1 "неочакван аргумент" -- "$program" one two
# --complete: a tour on standard output, the reason, or bad input on standard error.
work=$(mktemp -d)
printf 'a1, b3\nc1\n' >"$work/walk.txt"
check "--complete FILE" 0 1 "^a1 b3 c1 [a-h][1-8]" -- "$program" --complete "$work/walk.txt"
tour=$("$program" --complete "$work/walk.txt")
[ "$(wc -w <<<"$tour")" = 64 ] && [ "$(tr ' ' '\n' <<<"$tour" | sort -u | wc -l)" = 64 ] \
    || { echo "FAIL --complete did not print 64 different squares: $tour"; failures=$((failures + 1)); }
check "--complete -" 0 1 "^d4 " -- bash -c 'echo d4 | "$1" --complete -' _ "$program"
# The documented order, and the natural one that used to take --closed for the walk.
check "--complete FILE --closed" 0 1 "^a1 b3 c1 " -- "$program" --complete "$work/walk.txt" --closed
check "--complete --closed FILE" 2 1 "пишете ./--closed" -- "$program" --complete --closed "$work/walk.txt"
check "--complete, no tour" 1 1 "и двата му съседа са заети" -- bash -c 'echo "b3 d4 c2 e3" | "$1" --complete -' _ "$program"
check "--complete, not a knight's move" 2 1 "ред 1, колона 4, „b2“: не е ход на коня от a1" -- bash -c 'echo "a1 b2" | "$1" --complete - 2>&1 >/dev/null' _ "$program"
check "--complete, empty" 2 1 "няма нито едно поле" -- bash -c '"$1" --complete - </dev/null' _ "$program"
check "--complete, no file" 2 1 "knight-tour: файлът „$work/none“ не може да се прочете" -- "$program" --complete "$work/none"
rm -rf "$work"

# --export: a picture without a display, or one line and no file at all.
work=$(mktemp -d)
printf 'd4 f5 h6\n' >"$work/walk.txt"
check "--export a tour" 0 0 "" -- env -u DISPLAY "$program" --export "$work/tour.png" --tour 5a --path
check "--export a walk" 0 0 "" -- env -u DISPLAY "$program" --export "$work/walk.PDF" --walk "$work/walk.txt"
check "--export a worksheet" 0 0 "" -- env -u DISPLAY "$program" --export "$work/sheet.pdf"
[ -s "$work/tour.png" ] && [ -s "$work/walk.PDF" ] && head -c 5 "$work/sheet.pdf" | grep -q '%PDF' \
    || { echo "FAIL --export wrote no pictures"; failures=$((failures + 1)); }
printf 'd4 d5\n' >"$work/bad.txt"
check "--export, unknown kind" 2 1 "няма вид обиколка „9“; видовете са 1, 2, .*, ?; вижте knight-tour --help" -- "$program" --export "$work/a.png" --tour 9
check "--export, a Cyrillic kind" 2 1 "няма вид обиколка „8а“ (с латинско „a“: 8a)" -- "$program" --export "$work/a.png" --tour 8а
check "--export, no kind even in Latin" 2 1 "няма вид обиколка „9а“; видовете" -- "$program" --export "$work/a.png" --tour 9а
# The board as the window starts: its dark squares brown.
empty=$(mktemp -d)
check "--export the empty board" 0 0 "" -- env -u DISPLAY "$program" --export "$empty/board.png"
convert "$empty/board.png" -unique-colors txt:- 2>/dev/null | grep -qi '#653600' \
    || { echo "FAIL --export: the empty board has no dark squares"; failures=$((failures + 1)); }
rm -rf "$empty"
check "--export, illegal walk" 2 1 "ред 1, колона 4, „d5“" -- "$program" --export "$work/b.png" --walk "$work/bad.txt"
check "--export, unknown extension" 2 1 "само .png или .pdf" -- "$program" --export "$work/c.gif"
check "--export, cannot write" 2 1 "не може да се запише" -- "$program" --export "$work/none/d.png"
check "--tour without --export" 2 1 "само с --export" -- "$program" --tour 1
[ ! -e "$work/a.png" ] && [ ! -e "$work/b.png" ] && [ ! -e "$work/c.gif" ] && [ "$(ls "$work" | wc -l)" = 5 ] \
    || { echo "FAIL a refused --export left a file: $(ls "$work")"; failures=$((failures + 1)); }
rm -rf "$work"

# --worksheet: puzzles without a display, told with the seed that makes them again and the
# answers' own file; the PDFs' text is searchable, in the language in use.
work=$(mktemp -d)
check "--worksheet" 0 1 "^„$work/a.pdf“: пъзели: 3; отговорите: „$work/a-отговори.pdf“; същите дава --seed 42$" -- env -u DISPLAY "$program" --worksheet "$work/a.pdf" --board 6x6 --count 3 --seed 42
check "--worksheet, same seed" 0 1 "пъзели: 3" -- env -u DISPLAY "$program" --worksheet "$work/b.pdf" --board ' 6x6 ' --count ' 3' --seed 42
check "--worksheet, no seed" 0 1 "същите дава --seed [0-9]" -- env -u DISPLAY "$program" --worksheet "$work/c.pdf"
# Without --seed each run picks its own (two alike once in a million runs).
[ "$("$program" --worksheet "$work/c.pdf" --board 3x4)" != "$("$program" --worksheet "$work/c.pdf" --board 3x4)" ] \
    || { echo "FAIL two runs without --seed made the same sheets"; failures=$((failures + 1)); }
check "--worksheet in English" 0 1 "^“$work/e.pdf”: 2 puzzles; answers: “$work/e-key.pdf”; --seed 7 makes the same again$" -- env -u DISPLAY "$program" --lang en --worksheet "$work/e.pdf" --count 2 --seed 7 --closed
check "--worksheet, fewer than asked" 0 2 "поискани бяха 200" -- env -u DISPLAY "$program" --worksheet "$work/h.pdf" --board 3x4 --level hard --count 200 --seed 1
# On a terminal, the puzzles are counted as they are made.
check "--worksheet at a terminal" 0 any "Пъзели: 3 от 3" -- script -qec "'$program' --worksheet '$work/h.pdf' --count 3 --seed 1" /dev/null
[ "$(pdftotext "$work/a.pdf" - | grep -v '^$')" = "$(pdftotext "$work/b.pdf" - | grep -v '^$')" ] \
    || { echo "FAIL the same seed made other sheets"; failures=$((failures + 1)); }
pdftotext "$work/a.pdf" - | grep -q "Впишете липсващите числа в празните полета" \
    && pdftotext "$work/e.pdf" - | grep -q "Name:" && pdftotext "$work/e-key.pdf" - | grep -q "Answers" \
    && ! pdftotext "$work/e.pdf" - | grep -q "Answers" \
    || { echo "FAIL the worksheets' text cannot be found"; failures=$((failures + 1)); }
check "--worksheet, not a PDF" 2 1 "„$work/d.png“: работният лист може да е само .pdf" -- "$program" --worksheet "$work/d.png"
check "--worksheet, cannot write" 2 1 "не може да се запише" -- "$program" --worksheet "$work/none/d.pdf"
# The reader leaves at once; the sheet takes the program far longer than that.
# The reader is gone before the answer is written: said, not a silent death by SIGPIPE.
check "--complete, a closed pipe" 2 1 "в стандартния изход не може да се пише" -- bash -c 'set -o pipefail; { sleep 0.5; echo a1 b3 | "$1" --complete -; } | { exec <&-; }' _ "$program"
# The sheets written are the work done: a line that cannot be said is said on standard error.
check "--worksheet, a closed pipe" 0 1 "в стандартния изход не може да се пише" -- bash -c 'set -o pipefail; "$1" --worksheet "$2" --seed 1 | { exec <&-; }' _ "$program" "$work/f.pdf"
check "--worksheet, a full output" 0 1 "в стандартния изход не може да се пише" -- bash -c '"$1" --worksheet "$2" --seed 1 2>&1 >/dev/full' _ "$program" "$work/g.pdf"
[ ! -e "$work/d.png" ] && [ "$(ls "$work" | wc -l)" = 14 ] \
    || { echo "FAIL a refused --worksheet left a file: $(ls "$work")"; failures=$((failures + 1)); }
rm -rf "$work"

# Options that conflict, repeat, come empty or take extra arguments: exit 2, one Bulgarian line.
check "--complete with --export" 2 1 "--complete, --export, --worksheet и --results не могат" -- "$program" --export p.png --complete w
check "--results with --worksheet" 2 1 "--complete, --export, --worksheet и --results не могат" -- "$program" --results r.csv --worksheet w.pdf
check "--results with --closed" 2 1 "--closed не може да се използва с --results" -- "$program" --results r.csv --closed
check "extra argument to --results" 2 1 "неочакван аргумент „extra.txt“" -- "$program" --results r.csv extra.txt
check "extra argument to --complete" 2 1 "неочакван аргумент „extra.txt“" -- "$program" --complete w extra.txt
check "extra argument to --export" 2 1 "неочакван аргумент „extra.txt“" -- "$program" --export p.png extra.txt
check "empty --tour" 2 1 "опцията --tour изисква стойност" -- "$program" --export p.png --tour ""
check "empty --walk" 2 1 "опцията --walk изисква стойност" -- "$program" --export p.png --walk ""
check "repeated --tour" 2 1 "опцията --tour е зададена повече от веднъж" -- "$program" --export p.png --tour 1 --tour 2
check "--path=x" 2 1 "опцията --path не приема стойност" -- "$program" --path=x
check "escape in an option" 2 1 'непозната опция „--\\x1b\[2J“' -- "$program" $'--\e[2J'

check "--tour with --walk" 2 1 "--tour и --walk не могат да се използват заедно" -- "$program" --export p.png --tour 1 --walk w
check "--path without --export" 2 1 "само с --export" -- "$program" --path

# --path draws the path; the page follows the system's measures.
work=$(mktemp -d)
"$program" --export "$work/plain.png" --tour 1 && "$program" --export "$work/path.png" --tour 1 --path
[ -s "$work/plain.png" ] && ! cmp -s "$work/plain.png" "$work/path.png" \
    || { echo "FAIL --path changed nothing in the picture"; failures=$((failures + 1)); }
LC_ALL=en_US.UTF-8 "$program" --export "$work/letter.pdf" && LC_ALL=bg_BG.UTF-8 "$program" --export "$work/a4.pdf"
grep -aq "/MediaBox \[0 0 612.000000 792.000000\]" "$work/letter.pdf" && grep -aq "/MediaBox \[0 0 595.000000 842.000000\]" "$work/a4.pdf" \
    || { echo "FAIL the page is not Letter in the United States and A4 in Bulgaria"; failures=$((failures + 1)); }
# A walk file of exactly 64 KiB is read; one byte more is refused.
{ printf 'a1 b3'; head -c $((65536 - 5)) /dev/zero | tr '\0' ' '; } >"$work/limit.txt"
check "a 64 KiB file" 0 1 "^a1 b3 " -- "$program" --complete "$work/limit.txt"
echo >>"$work/limit.txt"
check "a 64 KiB file and a byte" 2 1 "64 KiB" -- "$program" --complete "$work/limit.txt"
rm -rf "$work"

# Pipes are read to their end, however slowly they fill, and bounded at 64 KiB.
work=$(mktemp -d)
check "slow pipe" 0 1 "^a1 b3 c1 " -- bash -c '(printf "a1 "; sleep 1; printf "b3 c1\n") | "$1" --complete -' _ "$program"
check "slow pipe, split square" 0 1 "^a1 b3 c1 " -- bash -c '(printf "a1 b"; sleep 1; printf "3 c1\n") | "$1" --complete -' _ "$program"
check "pipe path" 0 1 "^a1 b3 " -- bash -c '"$1" --complete <(sleep 0.5; echo a1 b3)' _ "$program"
{ printf 'a1 b3'; head -c $((65536 - 5)) /dev/zero | tr '\0' ' '; } >"$work/limit.txt"
check "exactly 64 KiB through a pipe" 0 1 "^a1 b3 " -- bash -c '(head -c 30000 "$2"; sleep 0.5; tail -c +30001 "$2") | "$1" --complete -' _ "$program" "$work/limit.txt"
check "64 KiB and a byte through a pipe" 2 1 "64 KiB" -- bash -c '(head -c 30000 "$2"; sleep 0.5; tail -c +30001 "$2"; echo) | "$1" --complete -' _ "$program" "$work/limit.txt"
check "closed standard input" 2 1 "стандартният вход не може да се прочете" -- bash -c '"$1" --complete - <&-' _ "$program"
check "escape in the input" 2 1 '„\\x1b\[2J“' -- bash -c 'printf "\e[2J" | "$1" --complete -' _ "$program"
check "standard output full" 2 1 "в стандартния изход не може да се пише: няма място на диска" -- bash -c 'echo a1 | "$1" --complete - >/dev/full' _ "$program"
# Names in any byte encoding; a walk that --walk reads from a pipe is drawn whole.
odd=$work/$'\xe9\xf0.txt'
printf 'd4 f5\n' >"$odd"
check "a Latin-1 file name" 0 1 "^d4 f5 " -- "$program" --complete "$odd"
check "--walk from a slow pipe" 0 0 "" -- bash -c '(printf "a1 b3"; sleep 1; printf " c1\n") | "$1" --export "$2" --walk -' _ "$program" "$odd.png"
check "--walk from a slow pipe, the same as a file" 0 0 "" -- bash -c 'echo "a1 b3 c1" >"$3"; "$1" --export "$2" --walk "$3"' _ "$program" "$work/file.png" "$work/file.txt"
cmp -s "$odd.png" "$work/file.png" || { echo "FAIL the walk from a slow pipe was not drawn whole"; failures=$((failures + 1)); }
# Old files survive a write that fails; special files are never replaced.
echo OLD >"$work/t.pdf"
# The signal of a file-size limit is left as the shell has it: the program must survive it.
check "PDF over a file-size limit" 2 1 "позволения размер" -- bash -c 'ulimit -f 4; "$1" --export "$2" --tour 2 --path' _ "$program" "$work/t.pdf"
[ "$(cat "$work/t.pdf")" = OLD ] || { echo "FAIL a failed export damaged the old file"; failures=$((failures + 1)); }
[ -z "$(find "$work" -name '.t.pdf.*')" ] || { echo "FAIL a failed export left its temporary file"; failures=$((failures + 1)); }
# The folder is flushed after the rename, or a power cut could bring the old file back.
if command -v strace >/dev/null; then
    strace -f -qq -e trace=openat,rename,renameat,renameat2,fsync -o "$work/trace" "$program" --export "$work/t.pdf" --tour 2 >/dev/null 2>&1
    awk -v folder="$work" '
        /^[0-9]+ +rename/ && /t\.pdf"/ { renamed = 1 }
        renamed && /openat\(/ && index($0, "\"" folder "\"") && /O_DIRECTORY/ { if (match($0, /= [0-9]+$/)) fd = substr($0, RSTART + 2) }
        renamed && fd != "" && $0 ~ ("fsync\\(" fd "\\) += 0") { synced = 1 }
        END { exit !synced }' "$work/trace" \
        || { echo "FAIL the folder was not flushed after the rename"; failures=$((failures + 1)); }
else
    echo "SKIP the folder's flush: strace is not installed"
fi
mkfifo "$work/fifo.png"
check "export onto a FIFO" 2 1 "канал (FIFO)" -- "$program" --export "$work/fifo.png"
[ -p "$work/fifo.png" ] || { echo "FAIL the FIFO was replaced"; failures=$((failures + 1)); }
if mknod "$work/null" c 1 3 2>/dev/null; then
    ln -s null "$work/device.png"
    check "export through a link to a device" 2 1 "устройство" -- "$program" --export "$work/device.png"
    [ -c "$work/null" ] && [ -L "$work/device.png" ] || { echo "FAIL the device was replaced"; failures=$((failures + 1)); }
fi
rm -rf "$work"

for display in localhost:199 unix:199 :120.5 :97; do
    check "DISPLAY=$display" 1 1 "DISPLAY=$display" -- env DISPLAY="$display" "$program"
done
check "no DISPLAY" 1 1 "DISPLAY не е зададена" -- env -u DISPLAY "$program"
check "no DISPLAY, in English" 1 1 "^knight-tour: no display: the DISPLAY variable is not set\. Start the program" -- env -u DISPLAY "$program" --lang en
check "-display :98" 1 1 "DISPLAY=:98" -- env -u DISPLAY "$program" -display :98
check "no compositor" 1 1 "Wayland" -- env XDG_RUNTIME_DIR="$(mktemp -d)" QT_QPA_PLATFORM=wayland "$program"
# A program without its platform plugin (qt.conf beside a copy sends Qt to an empty folder)
# says so, rather than blaming a display that works.
if command -v xvfb-run >/dev/null; then
    copy=$(mktemp -d)
    cp "$program" "$copy/"
    printf '[Paths]\nPlugins=%s\n' "$copy/none" >"$copy/qt.conf"
    check "no platform plugin" 1 1 "липсва приставката на програмата за графичната платформа „xcb“" -- xvfb-run -a "$copy/knight-tour"
    rm -rf "$copy"
fi

# A server that refuses the connection (no cookie), and Qt's own options on one that accepts.
if command -v xvfb-run >/dev/null; then
    output=$(xvfb-run -a -s "-screen 0 800x600x24" bash -c '
        XAUTHORITY=/dev/null "$1"; echo "status=$?"
        XDG_RUNTIME_DIR=$(mktemp -d) timeout 3 "$1" -platform xcb -style fusion -display "$DISPLAY"; echo "status=$?"
    ' _ "$program" 2>&1)
    if ! grep -q "отказва връзката" <<<"$output" || ! grep -q "status=1" <<<"$output" \
        || ! grep -q "status=124" <<<"$output" || [ "$(grep -c . <<<"$output")" != 3 ]; then
        printf 'FAIL refused connection or Qt options:\n%s\n' "$output"
        failures=$((failures + 1))
    fi
fi
# A walk file given on the command line is played: d4 and f5 visited, f5's targets green.
if command -v xvfb-run >/dev/null; then
    walk=$(mktemp --suffix=.txt)
    printf '# урок\nd4 f5\n' >"$walk"
    output=$(xvfb-run -a -s "-screen 0 800x600x24" bash -c '
        XDG_RUNTIME_DIR=$(mktemp -d) "$1" "$2" & app=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --name "шахмат" | head -n 1)
        sleep 1
        eval "$(xdotool getwindowgeometry --shell "$window")"
        shot=$(mktemp --suffix=.png); import -window root "$shot"
        colour() { convert "$shot" -format "%[fx:round(255*p{$((X + 72 + 33 * $1 + 4)),$((Y + 264 - 33 * $2 + 4))}.g)]" info:; echo; }
        colour 5 4; colour 6 6; colour 0 0
        # Ended as a session ends it: it closes its window and stores what it keeps, on the display.
        kill $app; wait $app
    ' _ "$program" "$walk" 2>&1)
    rm -f "$walk"
    if [ "$(tr '\n' ' ' <<<"$output")" != "255 200 54 " ]; then
        printf 'FAIL a walk file on the command line: green of f5, g7, a1 were:\n%s\n' "$output"
        failures=$((failures + 1))
    fi
fi
[ "$failures" = 0 ] && echo "start-up: every case as expected"
exit $((failures > 0))
