# The program started from a folder whose name is no valid text (a byte that is not UTF-8) shows an error and
# ends, rather than opening the database of the folder its name turns into when that byte is replaced.
source "$(dirname "$0")/common.sh"
x11_prepare
BAD=$PROGDIR/folder$'\xff'
TWIN=$PROGDIR/folder$'\xef\xbf\xbd' # the same name with the byte replaced by U+FFFD, as a lossy reading makes it
mkdir "$BAD" "$TWIN"
# Both folders hold the program and a database, so a program that took the twin for its folder would find all it
# looks for there and show no message.
cp "$PROGDIR/tovrin" "$PROGDIR/Kesh1.gif" "$PROGDIR/engbaner.gif" "$DB" "$TWIN/"
mv "$PROGDIR/tovrin" "$PROGDIR/Kesh1.gif" "$PROGDIR/engbaner.gif" "$DB" "$BAD/"

x11_start "$BAD/tovrin"
x11_wait_for x11_message_shown || true
x11_screenshot folder-error
x11_message_shown || fail "no message: the program went on in another folder"
x11_keys Return
# The message closed, the program ends on its own with the error path's status.
x11_wait_exit 1
echo "x11 folder: 1 passed, 0 failed"
