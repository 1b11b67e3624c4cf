# Helpers for tests that drive the real program in a real X window. A scenario script sources this file and is
# run by CTest as: xvfb-run -a -s "-screen 0 1280x1024x24" bash SCENARIO.sh BINDIR MKDB SHOTDIR
set -euo pipefail

BINDIR=$1
MKDB=$2
SHOTDIR=$3
PROGDIR=$(mktemp -d)
DB=$PROGDIR/Dalvek.mdb
APP_PID=
trap 'x11_cleanup' EXIT

# The program must open real X windows on the server xvfb-run started, whatever platform the caller's environment
# picks (the widget tests run with QT_QPA_PLATFORM=offscreen, and so may the shell that runs ctest).
export QT_QPA_PLATFORM=xcb
# The frame keeps its size and place in the user's settings: each run starts with none.
export XDG_CONFIG_HOME=$PROGDIR/config

x11_cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
    rm -rf "$PROGDIR"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A program folder of its own: the binary, its two pictures and a fresh, empty database.
x11_prepare() {
    cp "$BINDIR/tovrin" "$BINDIR/Kesh1.gif" "$BINDIR/engbaner.gif" "$PROGDIR/"
    "$MKDB" "$DB"
    mkdir -p "$SHOTDIR"
}

sql() {
    sqlite3 "$DB" "$@"
}

# Starts a window manager (unless X11_NO_WM is set) and the program (the one in the program folder, or the
# file given); waits for the frame's window.
x11_start() {
    if [ -z "${X11_NO_WM:-}" ] && command -v openbox >/dev/null; then
        openbox >/dev/null 2>&1 &
        WM_PID=$!
        sleep 1
    fi
    "${1:-$PROGDIR/tovrin}" >"$PROGDIR/out.log" 2>&1 &
    APP_PID=$!
    # Bounded: a program that never shows its window fails here instead of at the test's time-out.
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tovrin$' | head -n 1 || true)
    [ -n "$WID" ] || fail "the frame window did not appear"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    FRAME_X=$X
    FRAME_Y=$Y
    FRAME_W=$WIDTH
    FRAME_H=$HEIGHT
}

x11_screenshot() {
    import -window root "$SHOTDIR/$1.png"
}

# The size of the frame's client area above its status line: black from the top down to it.
AREA_W=
AREA_H=
x11_area() {
    local first
    first=$(import -window "$WID" -crop "1x${FRAME_H}+2+0" -depth 8 txt:- |
        awk -F'[,:]' 'NR > 1 && !/#000000/ {print $2; exit}')
    AREA_W=$FRAME_W
    AREA_H=${first:-$FRAME_H}
}

# Where a point of the directory window, given in twips as designed (15 twips make a pixel), is on the screen, in
# PX and PY relative to the client area. The window lays itself out as frmMain::relayout does: with more room
# than designed, what lies from the grid's bottom edge down moves down by the extra height, but for a tenth of it
# that the result list takes (from its bottom edge down); the book chooser above the grid and the advertisement
# block beneath it move right by the extra width.
dir_point() {
    [ -n "$AREA_H" ] || x11_area
    local x=$1 y=$2 split=8000 below=0
    local dw=$((AREA_W > 792 ? AREA_W - 792 : 0)) dh=$((AREA_H > 545 ? AREA_H - 545 : 0))
    [ "$y" -ge 3200 ] && { below=1; split=5400; }
    PX=$((x / 15 + (x >= split ? dw : 0)))
    PY=$((y / 15 + (below ? dh - dh / 10 : 0) + (y >= 6200 ? dh / 10 : 0)))
}

# A point inside a book's grid: its rows stay where designed, and its columns (722 pixels as designed, after the
# record selector at pixel 39) widen in proportion to the grid.
grid_point() {
    [ -n "$AREA_H" ] || x11_area
    local dw=$((AREA_W > 792 ? AREA_W - 792 : 0))
    PX=$((39 + ($1 / 15 - 39) * (722 + dw) / 722))
    PY=$(($2 / 15))
}

# Clicks at a point of the directory window given in twips as designed (see dir_point).
x11_click_twips() {
    dir_point "$1" "$2"
    # Relative to the frame's own window: the geometry xdotool reports counts the title bar twice.
    xdotool mousemove --window "$WID" "$PX" "$PY" click 1
    sleep 0.5
}

x11_keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

x11_type() {
    xdotool type --delay 40 "$1"
    sleep 0.3
}

# Waits for the program to end by itself and checks that it ended cleanly.
x11_wait_exit() {
    local rc=0
    for _ in $(seq 1 50); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
    wait "$APP_PID" || rc=$?
    APP_PID=
    [ "$rc" -eq 0 ] || { cat "$PROGDIR/out.log" >&2; fail "the program ended with $rc"; }
}
