# With no window manager nothing maximizes the frame: it still fills the screen's working area by itself.
source "$(dirname "$0")/common.sh"
x11_prepare
X11_NO_WM=1 x11_start
x11_screenshot nowm
[ "$FRAME_X" -eq 0 ] && [ "$FRAME_Y" -eq 0 ] && [ "$FRAME_W" -eq 1280 ] && [ "$FRAME_H" -eq 1024 ] ||
    fail "the frame does not fill the screen ($FRAME_W x $FRAME_H at $FRAME_X,$FRAME_Y)"
# The directory window comes up in it as usual.
xdotool search --onlyvisible --name '^Tovrin$' >/dev/null || fail "the frame went away"
kill -0 "$APP_PID" || fail "the program ended"
echo "x11 nowm: 1 passed, 0 failed"
