#!/bin/bash
# Installs the build into a fresh prefix and checks that every file lands where the desktop looks for it, that
# each icon has the size of its folder, that the database is a fresh SQLite file, and that the desktop entry,
# the metainfo and the manual page pass their checkers (each checker only where it is installed).
# Args: build-dir
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.tovrin.Tovrin
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# path  kind
expected=(
    "bin/tovrin                                     exec"
    "share/tovrin/Dalvek.mdb                        sqlite"
    "share/tovrin/Kesh1.gif                         gif"
    "share/tovrin/engbaner.gif                      gif"
    "share/applications/$id.desktop                 desktop"
    "share/metainfo/$id.metainfo.xml                metainfo"
    "share/man/man1/tovrin.1.gz                     man"
    "share/man/he/man1/tovrin.1.gz                  man"
    "share/doc/tovrin/copyright                     text"
    "share/doc/tovrin/changelog.gz                  gzip"
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png png:$size")
done

for row in "${expected[@]}"; do
    read -r path kind <<< "$row"
    file=$prefix/$path
    [ -f "$file" ] || { fail "$path missing"; continue; }
    case $kind in
    exec) [ -x "$file" ] || fail "$path not executable" ;;
    sqlite) [ "$(head -c 15 "$file")" = "SQLite format 3" ] || fail "$path is no SQLite file"
            if command -v sqlite3 >/dev/null; then
                rows=$(sqlite3 "$file" 'SELECT (SELECT count(*) FROM tblTel) + (SELECT count(*) FROM tblMes)')
                [ "$rows" = 0 ] || fail "$path holds $rows rows"
            fi ;;
    gif) [ "$(head -c 6 "$file")" = "GIF89a" ] || fail "$path is no GIF" ;;
    gzip) gzip -t "$file" || fail "$path is no gzip file" ;;
    text) [ -s "$file" ] || fail "$path empty" ;;
    png:*)
        want=${kind#png:}
        # Width and height are the two big-endian words at bytes 16..23 of a PNG.
        got=$(od -An -tu1 -j16 -N8 "$file" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
        [ "$got" = "${want}x$want" ] || fail "$path is $got, not ${want}x$want" ;;
    desktop)
        grep -qx "Icon=$id" "$file" || fail "$path names another icon"
        grep -qx "Exec=tovrin" "$file" || fail "$path starts another program"
        if command -v desktop-file-validate >/dev/null; then
            desktop-file-validate "$file" || fail "$path rejected by desktop-file-validate"
        fi ;;
    metainfo)
        grep -q "<id>$id</id>" "$file" || fail "$path has another id"
        grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$file" || fail "$path launches another entry"
        version=$(sed -n 's/^project(Tovrin VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
        grep -q "<release version=\"$version\"" "$file" || fail "$path has no release $version"
        if command -v appstreamcli >/dev/null; then
            appstreamcli validate --no-net "$file" >/dev/null || fail "$path rejected by appstreamcli"
        fi ;;
    man)
        zcat "$file" | grep -q '^\.TH TOVRIN 1' || fail "$path has no title line"
        zcat "$file" | grep -q '@[A-Z_]*@' && fail "$path has an unfilled @VARIABLE@"
        if command -v man >/dev/null; then
            warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null || true)
            [ -z "$warnings" ] || fail "$path: $warnings"
        fi ;;
    esac
done

# The installed program finds its telephone rules, a module installed beside bin/: without them no country is known.
"$prefix/bin/tovrin" --region IL --version >/dev/null 2>&1 || fail "the installed program finds no telephone rules"

# Every option the program answers --help with is in both manual pages.
for option in $("$prefix/bin/tovrin" --help | grep -o -- '--[a-z-]*' | sort -u); do
    for manual in man1 he/man1; do
        zcat "$prefix/share/man/$manual/tovrin.1.gz" | grep -q -- "${option//-/\\\\-}" ||
            fail "$manual/tovrin.1 lacks $option"
    done
done

[ "$failures" -eq 0 ] && echo "all ${#expected[@]} installed files in place"
exit $((failures > 0))
