#!/usr/bin/env bash
# Runs the benchmarks and the tests of one Windows build under Wine:
# run-win-tests.sh ARCH.
# Expects a display (the caller runs it inside xvfb-run). One wineserver stays
# up for the whole run, so each test process starts quickly, and is stopped at
# the end whatever happened.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch="$1"
build="$root/build/$arch"
export WINEPREFIX="$build/wineprefix" WINEARCH="$arch" WINEDEBUG=-all

bash "$root/scripts/wine-prefix.sh" "$arch" "$WINEPREFIX" test
# The prefix step may leave a short-lived server behind; start a lasting one.
wineserver -k >/dev/null 2>&1 || true
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Wine's background services start with the first program and inherit its
# output; started here with none, they cannot hold CTest's pipes open.
"$root/scripts/wine-run" "$arch" wineboot >/dev/null 2>&1 </dev/null
# Benchmarks first, so that the test summary closes the output.
bash "$root/scripts/run-benchmarks.sh" "$arch"
ctest --test-dir "$build" --output-on-failure
