#!/bin/bash
# Installs the built package as Debian does, then uses the installed program as a new user with an empty home:
# --version answers without a display; under xvfb-run the first start makes the user's own file from the
# installed template, an entry saved in the entry window lands in it, and a second start keeps it. Then the package
# is removed and purged, and no file of it may stay. Run as root, on a machine where tovrin is not installed.
# Args: [package file] (default: the one in build/)
set -euo pipefail
cd "$(dirname "$0")/../.."
shopt -s nullglob
if [ $# -gt 0 ]; then debs=("$1"); else debs=(build/tovrin_*.deb); fi
[ ${#debs[@]} -eq 1 ] || { echo "FAIL: no single package file: ${debs[*]:-none}" >&2; exit 1; }
deb=$(realpath "${debs[0]}")
[ "$(id -u)" -eq 0 ] || { echo "FAIL: run as root: the check installs and removes the package" >&2; exit 1; }
if dpkg-query -W -f='${Status}' tovrin 2>/dev/null | grep -q 'ok installed'; then
    echo "FAIL: tovrin is already installed; this check would remove it" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
tools=(xvfb xauth xdotool openbox imagemagick sqlite3 util-linux passwd)
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

user=tovrincheck$$
base=$(mktemp -d)
chmod 755 "$base"
installed=
cleanup() {
    # The screens of a failed session stay for a look.
    [ -f "$base/shots/failure.png" ] && mkdir -p build/package-check && cp "$base"/shots/*.png build/package-check/
    userdel -f "$user" 2>/dev/null || true
    rm -rf "$base"
    [ -n "$installed" ] && apt-get purge -y -qq tovrin >/dev/null 2>&1 || true
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

apt-get install -y -qq "$deb"
installed=1
dpkg-query -W -f='${Status}' tovrin | grep -q "install ok installed" || fail "the package did not install"
version=$(dpkg-query -W -f='${Version}' tovrin)
files=$(dpkg -L tovrin)
echo "installed tovrin $version: $(wc -l <<< "$files") paths"

useradd -m -b "$base" -s /bin/bash "$user"
home=$base/$user
data=$home/.local/share/Tovrin
db=$data/Dalvek.mdb
as_user() {
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}

answer=$(as_user /usr/bin/tovrin --version)
[ "$answer" = "tovrin ${version%%-*}" ] || fail "--version answered '$answer', not 'tovrin ${version%%-*}'"
[ -e "$data" ] && fail "--version made a data folder"

cp tests/package/session.sh tests/x11/geometry.sh "$base/"
chmod 644 "$base/session.sh" "$base/geometry.sh"
mkdir "$base/shots"
chown "$user" "$base/shots"
as_user xvfb-run -a -s "-screen 0 1280x1024x24" bash "$base/session.sh" "$base/shots" ||
    { cat "$home/tovrin.log" 2>/dev/null >&2 || true; fail "the session with the installed program failed"; }

[ -f "$db" ] || fail "no $db"
[ "$(stat -c %U "$db")" = "$user" ] || fail "$db belongs to $(stat -c %U "$db"), not the user"
template=/usr/share/tovrin/Dalvek.mdb
# The program may build an index again on opening, which moves it in sqlite_master: compare in name order.
schema() {
    sqlite3 "$1" 'SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name' \
        'PRAGMA application_id' 'PRAGMA user_version'
}
[ "$(schema "$db")" = "$(schema "$template")" ] || fail "$db has another schema than $template"
sqlite3 "$db" 'PRAGMA integrity_check' | grep -qx ok || fail "$db is damaged"
row=$(sqlite3 "$db" "SELECT Fname, Lname, BusName, Category, City, Tel1 FROM tblTel")
expected="Dana|O'Hara|Sons & Co|Business|Haifa|048 - 1234567"
[ "$row" = "$expected" ] || fail "the user's file holds '$row', not '$expected' (after the second start)"
echo "the user's file $db: made from the template, holds the saved entry after a second start"

apt-get remove -y -qq tovrin >/dev/null
# A package that has no configuration files is gone after the removal, and apt-get would not know it any more.
dpkg-query -W tovrin >/dev/null 2>&1 && dpkg --purge tovrin >/dev/null
installed=
dpkg-query -W -f='${Status}' tovrin 2>/dev/null | grep -q 'ok installed' && fail "tovrin is still installed"
left=0
while IFS= read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    # A folder may stay where another package or anything else still keeps files.
    if [ -d "$path" ] && ! [ -L "$path" ]; then
        dpkg -S "$path" >/dev/null 2>&1 && continue
        [ -n "$(ls -A "$path")" ] && continue
    fi
    echo "left behind: $path" >&2
    left=$((left + 1))
done <<< "$files"
[ "$left" -eq 0 ] || fail "$left paths of the package are left after purging it"
[ -f "$db" ] || fail "removing the package took the user's own file"
echo "package check: removed and purged, nothing of it left, the user's file kept"
