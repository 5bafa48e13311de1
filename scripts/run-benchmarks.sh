#!/usr/bin/env bash
# Runs every benchmark of one Windows build under Wine: run-benchmarks.sh ARCH.
# Expects a display and the test prefix, as run-win-tests.sh leaves them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch="$1"
export WINEPREFIX="$root/build/$arch/wineprefix"
for bench in "$root/build/$arch/bin/"*_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  "$root/scripts/wine-run" "$arch" "$bench"
done
