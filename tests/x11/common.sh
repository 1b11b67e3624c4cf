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

# Where the directory window puts its controls: x11_area, dir_point, grid_point.
. "$(dirname "${BASH_SOURCE[0]}")/geometry.sh"

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

# Runs the command until it succeeds, for up to ten seconds; fails (returns 1) when it never does.
x11_wait_for() {
    for _ in $(seq 1 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# A message box over the frame: both windows carry the program's name.
x11_message_shown() {
    [ "$(xdotool search --onlyvisible --name '^Tovrin$' | wc -l)" -ge 2 ]
}

x11_ended() {
    ! kill -0 "$APP_PID" 2>/dev/null
}

# Waits for the program to end by itself and checks its exit status (0, a clean end, unless another is given).
x11_wait_exit() {
    local rc=0 expected=${1:-0}
    x11_wait_for x11_ended || fail "the program did not end"
    wait "$APP_PID" || rc=$?
    APP_PID=
    [ "$rc" -eq "$expected" ] || { cat "$PROGDIR/out.log" >&2; fail "the program ended with $rc, not $expected"; }
}
