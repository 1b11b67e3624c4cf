#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while from the committed seed corpus. Usage:
#   tests/fuzz/run.sh [seconds per target, default 60]
# Exits non-zero when a target finds a crash, a wrong answer, a slow input or runaway memory; the input that did
# it is left as <build>/crash-* (or timeout-*, oom-*), to be added to the corpus once the fault is fixed.
# Inputs are capped at 256 bytes: a set of full Unicode ranges costs a pass over every code point per range, so
# longer inputs would spend the time there and trip the time-out of a slow machine.
# TOVRIN_FUZZ_BUILD sets the build folder (default: build-fuzz, like tovrin.sh's build/ in the repository's root).
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
build=$(realpath -m "${TOVRIN_FUZZ_BUILD:-build-fuzz}")
cmake -S tests/fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)"

status=0
for target in fuzz_like fuzz_dates; do
    # New inputs go to a scratch folder, so the committed corpus only changes by hand.
    scratch=$(mktemp -d)
    echo "== $target: $seconds s"
    if ! "$build/$target" -max_total_time="$seconds" -max_len=256 -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$build/" "$scratch" "tests/fuzz/corpus/${target#fuzz_}" \
            2>"$build/$target.log"; then
        tail -n 40 "$build/$target.log"
        status=1
    fi
    grep -E "^Done|^stat::number_of_executed_units" "$build/$target.log" || true
    rm -rf "$scratch"
done
exit $status
