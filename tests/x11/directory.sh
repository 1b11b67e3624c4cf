# The directory window in a real X window: the book switch and a letter picked with the mouse, an edit in the
# business grid that reaches the file, a search typed and listed, and "Exit" ending the program cleanly.
source "$(dirname "$0")/common.sh"

# Points are given in twips of the directory window as designed, which fills the frame's client area (see
# dir_point). xdotool places the pointer relative to the frame's client window itself, so no decoration offset
# enters the sums.
click_at() {
    dir_point "$1" "$2"
    xdotool mousemove --window "$WID" "$PX" "$PY" click "${3:-1}"
    sleep 0.6
}
double_click_in_grid() {
    grid_point "$1" "$2"
    xdotool mousemove --window "$WID" "$PX" "$PY" click --repeat 2 --delay 80 1
    sleep 0.6
}

# How many pixels of the result list's text colour, RGB(0,0,192), the list shows.
CLIENT_X=
CLIENT_Y=
list_text_pixels() {
    dir_point 480 4560
    import -window root -crop "$((4215 / 15))x$((1815 / 15))+$((CLIENT_X + PX))+$((CLIENT_Y + PY))" \
        -depth 8 txt:- | grep -c '#0000C0' || true
}

x11_prepare
NO_PHONE="'___ - _______'"
sql "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) VALUES
 ('Personal', 'Ann', 'Cohen', ' ', '5 Elm St', 'Springfield', 'IL', '62701', '052 - 1234567', $NO_PHONE,
  '054 - 7654321', $NO_PHONE),
 ('Personal', 'bob', 'adams', ' ', '', '', '', '_____', $NO_PHONE, $NO_PHONE, $NO_PHONE, $NO_PHONE),
 ('Business', 'Carl', 'Cole', 'Zeta Ltd', '1 Main St', 'Haifa', '', '31000', '04 - 1234567', $NO_PHONE, $NO_PHONE,
  $NO_PHONE),
 ('Business', 'Dina', 'Zorn', 'Cargo Inc', '', '', '', '_____', $NO_PHONE, $NO_PHONE, $NO_PHONE, $NO_PHONE);"
x11_start
xdotool mousemove --window "$WID" 0 0
eval "$(xdotool getmouselocation --shell)"
CLIENT_X=$X
CLIENT_Y=$Y
x11_screenshot directory-start
[ "$(list_text_pixels)" -eq 0 ] || fail "the result list is not empty at the start"

# The search box has the focus at the start; a click into the middle of its prompt selects the whole prompt all the
# same, so the digits typed replace it and the search finds Ann Cohen by her number.
click_at 2587 3787
x11_type "1234567"
x11_keys Return
sleep 0.5
x11_screenshot directory-search-after-click
[ "$(list_text_pixels)" -gt 50 ] || fail "a click into the prompt left the cursor inside it: the search found nothing"

# The book selector: open its list, go up to "Business", take it.
click_at 9667 652
x11_screenshot directory-book-list
x11_keys Up Return
x11_screenshot directory-business

# The letter C narrows the business book by its business name: Cargo Inc stays, Zeta Ltd (whose contact is Cole)
# goes. Its first name, in the first row, is edited in place and written to the file.
click_at $((360 + 480 * 2 + 187)) $((120 + 187))
x11_screenshot directory-business-c
double_click_in_grid 4170 1860
x11_keys ctrl+a
x11_type "Dana"
x11_keys Return
sleep 0.5
[ "$(sql "SELECT Fname FROM tblTel WHERE BusName = 'Cargo Inc'")" = "Dana" ] ||
    { x11_screenshot directory-edit-failed; fail "the edit in the business grid did not reach the file"; }
[ "$(sql "SELECT Fname FROM tblTel WHERE BusName = 'Zeta Ltd'")" = "Carl" ] || fail "another row was changed"

# A click in the search box selects the prompt, so the typed word replaces it; Enter lists the match.
click_at 2587 3787
x11_type "cohen"
x11_keys Return
sleep 0.5
x11_screenshot directory-search
[ "$(list_text_pixels)" -gt 50 ] || fail "the search listed nothing"

# "Exit" ends the program at once.
click_at 1747 7747
x11_wait_exit
echo "x11 directory: 1 passed, 0 failed"
