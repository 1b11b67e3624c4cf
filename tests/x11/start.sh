# The program comes up maximized in a real X window with its caption and ends cleanly when its frame is closed.
source "$(dirname "$0")/common.sh"
x11_prepare
x11_start
x11_screenshot start
[ "$(xdotool getwindowname "$WID")" = "Tovrin" ] || fail "caption"
[ "$FRAME_W" -ge 1200 ] || fail "the frame is not maximized ($FRAME_W x $FRAME_H)"
# The frame's close command (the window manager's Alt+F4) ends the program; no handler of it runs.
xdotool windowactivate --sync "$WID" key alt+F4
x11_wait_exit
echo "x11 start: 1 passed, 0 failed"
