#!/usr/bin/env bash
# Sets up, builds and runs Tovrin on Debian. Usage:
#   ./tovrin.sh run     install what is missing, build, start the program
#   ./tovrin.sh test    install what is missing, build, run every test headless
#   ./tovrin.sh bench   install what is missing, build optimised, run the benchmarks
#   ./tovrin.sh package install what is missing, build, make the .deb and check it (desktop entry, metainfo, lintian)
# Set TOVRIN_BUILD to use another build folder (default: build), TOVRIN_SANITIZE=1 for an ASan/UBSan build.
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake pkg-config qt6-base-dev libsqlite3-dev libicu-dev libphonenumber-dev sqlite3 xvfb xauth
          xdotool x11-apps imagemagick openbox culmus fonts-liberation clang libclang-rt-14-dev poppler-utils
          python3-vobject mdbtools-dev radicale qtkeychain-qt6-dev openssl curl
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n xandikos python3-icalendar dbus-daemon libxxhash-dev
          libfontconfig-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local dir=$1 type=$2
    local extra=()
    [ "${TOVRIN_SANITIZE:-0}" = 1 ] && extra+=(-DTOVRIN_SANITIZE=ON)
    [ -n "${TOVRIN_EXTRA:-}" ] && extra+=("$TOVRIN_EXTRA")
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${extra[@]}" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build "${TOVRIN_BUILD:-build}" RelWithDebInfo
    exec "${TOVRIN_BUILD:-build}/bin/tovrin"
    ;;
test)
    install_missing
    build "${TOVRIN_BUILD:-build}" RelWithDebInfo
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    cd "${TOVRIN_BUILD:-build}"
    ctest --output-on-failure -j"$(nproc)"
    ;;
bench)
    install_missing
    TOVRIN_EXTRA="-DTOVRIN_BENCH=ON" build "${TOVRIN_BUILD:-build-bench}" Release
    "${TOVRIN_BUILD:-build-bench}/bench/tovrin_bench" "${@:2}"
    "${TOVRIN_BUILD:-build-bench}/bench/tovrin_bench_exchange"
    "${TOVRIN_BUILD:-build-bench}/bench/tovrin_bench_backup"
    "${TOVRIN_BUILD:-build-bench}/bench/tovrin_bench_sync"
    ;;
package)
    packages+=(desktop-file-utils appstream lintian dpkg-dev)
    install_missing
    build "${TOVRIN_BUILD:-build}" RelWithDebInfo
    desktop-file-validate dist/org.tovrin.Tovrin.desktop
    appstreamcli validate --no-net "${TOVRIN_BUILD:-build}/share/org.tovrin.Tovrin.metainfo.xml"
    (cd "${TOVRIN_BUILD:-build}" && cpack -G DEB)
    lintian --fail-on error "${TOVRIN_BUILD:-build}"/tovrin_*.deb
    ls "${TOVRIN_BUILD:-build}"/tovrin_*.deb
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
