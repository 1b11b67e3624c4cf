# The directory window follows its file: entries another program adds while Tovrin is in the background (here the
# command line's import) are in the book the moment the user comes back to Tovrin, without a click in the window.
source "$(dirname "$0")/common.sh"

# Dark pixels (the grid's text) in the rows of the book grid, below its caption and column headers.
grid_text_pixels() {
    import -window root -crop "$((10800 / 15))x$((1100 / 15))+$((CLIENT_X + 600 / 15))+$((CLIENT_Y + 2000 / 15))" \
        -depth 8 txt:- | grep -cE '#(0|1|2)[0-9A-F](0|1|2)[0-9A-F](0|1|2)[0-9A-F]' || true
}

x11_prepare
CARDS=$PROGDIR/cards.vcf
for i in $(seq 1 12); do
    printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Adams%s;Anna;;;\r\nFN:Anna Adams%s\r\nTEL;TYPE=CELL:050-12345%02d\r\nEND:VCARD\r\n' \
        "$i" "$i" "$i"
done >"$CARDS"
x11_start
xdotool mousemove --window "$WID" 0 0
eval "$(xdotool getmouselocation --shell)"
CLIENT_X=$X
CLIENT_Y=$Y
EMPTY=$(grid_text_pixels)

# Another program takes the focus; meanwhile the command line adds twelve entries to the file.
xlogo &
OTHER_PID=$!
trap 'kill $OTHER_PID 2>/dev/null || true; x11_cleanup' EXIT
OTHER=$(timeout 10 xdotool search --sync --onlyvisible --class xlogo | head -n 1 || true)
[ -n "$OTHER" ] || fail "the other program's window did not appear"
xdotool windowactivate --sync "$OTHER"
sleep 0.5
"$PROGDIR/tovrin" --import "$CARDS" >/dev/null || fail "the command-line import failed"
[ "$(sql "SELECT count(*) FROM tblTel")" -eq 12 ] || fail "the import did not reach the file"

# Back to Tovrin: the book shows them.
xdotool windowactivate --sync "$WID"
sleep 1
x11_screenshot follow-back
SHOWN=$(grid_text_pixels)
[ "$SHOWN" -gt $((EMPTY + 200)) ] || fail "the book grid still shows the old book ($EMPTY dark pixels before, $SHOWN after)"
kill "$OTHER_PID" 2>/dev/null || true
x11_click_twips 1747 7747
x11_wait_exit
echo "x11 follow: 1 passed, 0 failed"
