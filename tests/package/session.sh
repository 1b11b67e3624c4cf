#!/bin/bash
# The user's side of check.sh, run as that user inside xvfb-run: the installed program's first start makes the
# user's own file, an entry typed into the entry window is saved with the Save button, the program quits; a second
# start opens the same file and quits again.
set -euo pipefail
DB=$HOME/.local/share/Tovrin/Dalvek.mdb
SHOTS=${1:-$HOME}
export QT_QPA_PLATFORM=xcb
APP_PID=
WM_PID=
trap '[ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null; [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null; true' EXIT

fail() {
    import -window root "$SHOTS/failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    exit 1
}
wait_for() {
    for _ in $(seq 1 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
rows() {
    sqlite3 "$DB" 'SELECT count(*) FROM tblTel'
}
# Where the directory window puts a control at the frame's size (copied beside this script by check.sh).
. "$(dirname "$0")/geometry.sh"
# Clicks at a point of the directory window given in twips as designed (15 twips make a pixel).
click_twips() {
    dir_point "$1" "$2"
    xdotool mousemove --window "$WID" "$PX" "$PY" click 1
    sleep 0.5
}
keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}
type_text() {
    xdotool type --delay 40 "$1"
    sleep 0.3
}
start() {
    /usr/bin/tovrin >>"$HOME/tovrin.log" 2>&1 &
    APP_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tovrin$' | head -n 1 || true)
    [ -n "$WID" ] || fail "the installed program showed no window"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    FRAME_W=$WIDTH
    FRAME_H=$HEIGHT
}
ended() {
    ! kill -0 "$APP_PID" 2>/dev/null
}
quit() {
    xdotool windowactivate --sync "$WID" key alt+F4
    wait_for ended || fail "the program did not end"
    local rc=0
    wait "$APP_PID" || rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || { cat "$HOME/tovrin.log" >&2; fail "the program ended with $rc"; }
}

openbox >/dev/null 2>&1 &
WM_PID=$!
sleep 1

[ -e "$DB" ] && fail "$DB is there before the first start"
start
[ -f "$DB" ] || fail "the first start made no $DB"

# "Add New Number" opens the entry window with the focus on the book selector; Enter walks the fields to "Save".
click_twips $((360 + 600)) $((6720 + 300))
sleep 1
keys Up Return
for value in Dana "O'Hara" "Sons & Co" "12 Herzl St" Haifa HF 31999 0481234567 0487654321 0481112223 0521234; do
    type_text "$value"
    keys Return
done
[ "$(rows)" = 0 ] || fail "something was stored before Save"
import -window root "$SHOTS/entry.png"
keys Return
has_entry() { [ "$(rows)" = 1 ]; }
wait_for has_entry || fail "Save stored no entry"
quit

start
quit
