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
# The frame and, over it, the message box: both carry the program's name.
for _ in $(seq 1 50); do
    [ "$(xdotool search --onlyvisible --name '^Tovrin$' | wc -l)" -ge 2 ] && break
    sleep 0.2
done
x11_screenshot folder-error
[ "$(xdotool search --onlyvisible --name '^Tovrin$' | wc -l)" -ge 2 ] ||
    fail "no message: the program went on in another folder"
x11_keys Return

# The message closed, the program ends on its own with the error path's status.
rc=0
for _ in $(seq 1 50); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end after the message"
wait "$APP_PID" || rc=$?
APP_PID=
[ "$rc" -eq 1 ] || { cat "$PROGDIR/out.log" >&2; fail "the program ended with $rc, not 1"; }
echo "x11 folder: 1 passed, 0 failed"
