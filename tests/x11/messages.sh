# The message log in a real X window: opened from the directory window, a message recorded from the keyboard
# alone, stored in the file, and listed first when the log is opened again.
source "$(dirname "$0")/common.sh"
x11_prepare
sql "INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES ('2002-08-21', '14:35:07', 'Older', 'Avi', 'Seed message')"
x11_start

# "Messages" on the directory window (twips 1920,6720, 1215 x 615), by its middle.
x11_click_twips 2527 7027
sleep 1
x11_screenshot messages_list

# "Add New Message" has the focus; Enter on it opens the entry view with the focus on "From".
x11_keys Return
sleep 0.5
x11_screenshot messages_entry
x11_type "Dana Levi"
x11_keys Return
x11_type "Avi"
x11_keys Return
x11_type "Call back"
x11_keys shift+Return
x11_type "after five"
x11_keys Return
x11_screenshot messages_typed
x11_keys Return
sleep 1

stored=$(sql "SELECT Meet || '|' || Avur || '|' || Hodaa FROM tblMes WHERE Cdate = date('now', 'localtime')")
expected=$'Dana Levi|Avi|Call back\nafter five'
[ "$stored" = "$expected" ] || fail "stored message: '$stored'"
# The time is the one filled in when the entry view opened, seconds included.
recent=$(sql "SELECT abs(strftime('%s', Cdate || ' ' || Ctime) - strftime('%s', 'now', 'localtime')) < 120
              FROM tblMes WHERE Meet = 'Dana Levi'")
[ "$recent" = 1 ] || fail "the stored date and time are not the current ones"
[ "$(sql "SELECT count(*) FROM tblMes")" = 2 ] || fail "a save stored more or less than one row"

# Back on the directory window; the log opened again lists the new message first.
x11_screenshot messages_back
x11_click_twips 2527 7027
sleep 1
x11_screenshot messages_list_again

xdotool windowactivate --sync "$WID" key alt+F4
x11_wait_exit
echo "x11 messages: 1 passed, 0 failed"
