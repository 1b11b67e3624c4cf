# A whole entry typed with the keyboard alone: from the directory to "Add New Number", along the Enter chain to
# "Save", saved with Enter; the row is in the file as typed and the directory is back.
source "$(dirname "$0")/common.sh"

# The colour of one screen pixel, as #RRGGBB.
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1
}

# A bare spot of the entry window's light grey client area, right of "Fax" and left of "Cellular" (twips 2550,
# 5400; the window stands at 6600,200 in the frame, below its title bar). The directory shows no grey there.
ENTRY_X=
ENTRY_Y=
entry_shown() {
    [ "$(pixel "$ENTRY_X" "$ENTRY_Y")" = "#C0C0C0" ]
}
entry_gone() {
    ! entry_shown
}

x11_prepare
x11_start
ENTRY_X=$((FRAME_X + (6600 + 2550) / 15))
ENTRY_Y=$((FRAME_Y + (200 + 5400) / 15 + 25))
entry_shown && fail "the entry window's grey is already there"

# The directory opens with the focus in its search box; "Add New Number" is the third Tab stop from there.
x11_keys Tab Tab Tab space
if ! x11_wait_for entry_shown; then
    echo "the keyboard did not reach \"Add New Number\"; clicking it" >&2
    x11_click_twips $((360 + 600)) $((6720 + 300))
    x11_wait_for entry_shown || { x11_screenshot entry-missing; fail "the entry window did not open"; }
fi

# The focus starts on the book selector.
x11_keys Up Return
x11_type "Dana"
x11_keys Return
x11_type "O'Hara"
x11_keys Return
x11_type "Sons & Co"
x11_keys Return
x11_type "12 Herzl St"
x11_keys Return
x11_type "Haifa"
x11_keys Return
x11_type "HF"
x11_keys Return
x11_type "31999"
x11_keys Return
x11_type "0481234567"
x11_keys Return
x11_type "0487654321"
x11_keys Return
x11_type "0481112223"
x11_keys Return
x11_type "0521234"
x11_keys Return
x11_screenshot entry
[ "$(sql 'SELECT count(*) FROM tblTel')" = 0 ] || fail "something was stored before Save"

# The focus is on "Save" now: Enter presses it.
x11_keys Return
stored() {
    [ "$(sql 'SELECT count(*) FROM tblTel')" = 1 ]
}
x11_wait_for stored || true
row=$(sql "SELECT Fname, Lname, BusName, Category, Address, City, State, Zip, Tel1, Tel2, Pel, Fax FROM tblTel")
expected="Dana|O'Hara|Sons & Co|Business|12 Herzl St|Haifa|HF|31999|048 - 1234567|048 - 7654321|052 - 1234___|048 - 1112223"
[ "$row" = "$expected" ] || fail "stored row: '$row', expected '$expected'"
x11_wait_for entry_gone || fail "the entry window is still open after Save"
x11_screenshot entry-saved

xdotool windowactivate --sync "$WID" key alt+F4
x11_wait_exit
echo "x11 entry: 1 passed, 0 failed"
