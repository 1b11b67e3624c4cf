# Contacts out and in through the real windows: the personal book's context menu exports it as vCard through the
# standard file dialog; a second copy of the program with an empty file imports that file through its context
# menu and the preview, and ends up with the same entries.
source "$(dirname "$0")/common.sh"

# A left click first gives the grid the focus, as a user's would; the right click then opens its context menu.
right_click_at() {
    grid_point "$1" "$2"
    xdotool mousemove --window "$WID" "$PX" "$PY" click 1
    sleep 0.5
    xdotool click 3
    sleep 0.8
}
ENTRIES="SELECT Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax FROM tblTel
         WHERE Category = 'Personal' ORDER BY Lname, Fname"

x11_prepare
NO_PHONE="'___ - _______'"
sql "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) VALUES
 ('Personal', 'דנה', 'כהן', ' ', 'רחוב הרצל 12, דירה 3', 'חיפה', '', '31999', '048 - 1234567', $NO_PHONE,
  '050 - 7654321', $NO_PHONE),
 ('Personal', 'Sean', 'O''Brien', ' ', '1 \"Main\" St; rear', 'Cork', 'CO', '_____', '021 - 4567890', $NO_PHONE,
  $NO_PHONE, $NO_PHONE),
 ('Business', 'Carl', 'Cole', 'Zeta Ltd', '', 'Haifa', '', '31000', '04 - 1234567', $NO_PHONE, $NO_PHONE, $NO_PHONE);"
EXPORTED=$PROGDIR/personal.vcf

# Export: the menu's third command after "Open Entry..." and "Import Contacts...", "Export This Book...", then the
# file's name and Enter in the file dialog.
x11_start
right_click_at 3000 1950
x11_screenshot contacts-menu
x11_keys Down Down Down Return
sleep 1
x11_screenshot contacts-export-dialog
x11_type "$EXPORTED"
x11_keys Return
x11_wait_for test -s "$EXPORTED" || { x11_screenshot contacts-export-failed; fail "the book was not exported"; }
grep -q "BEGIN:VCARD" "$EXPORTED" || fail "the export is no vCard file"
[ "$(grep -c "BEGIN:VCARD" "$EXPORTED")" -eq 2 ] || fail "the export holds more or less than the personal book"
x11_click_twips 1747 7747
x11_wait_exit
kill "$WM_PID" 2>/dev/null || true

# Import into a program folder of its own with an empty file: "Import Contacts..." (after "Open Entry..."), the
# file, then the preview's "Import".
SECOND=$PROGDIR/second
mkdir -p "$SECOND"
cp "$BINDIR/tovrin" "$BINDIR/Kesh1.gif" "$BINDIR/engbaner.gif" "$SECOND/"
"$MKDB" "$SECOND/Dalvek.mdb"
x11_start "$SECOND/tovrin"
right_click_at 3000 1950
x11_keys Down Down Return
sleep 1
x11_type "$EXPORTED"
x11_keys Return
sleep 1.5
x11_screenshot contacts-preview
x11_keys Return
sleep 1
x11_screenshot contacts-imported
[ "$(sqlite3 "$SECOND/Dalvek.mdb" "$ENTRIES")" = "$(sql "$ENTRIES")" ] ||
    fail "the imported entries differ from the exported ones"
x11_click_twips 1747 7747
x11_wait_exit
echo "x11 contacts: 1 passed, 0 failed"
