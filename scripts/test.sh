#!/usr/bin/env bash
# Builds everything and runs every test: the portable libraries natively under
# ASan and UBSan, then the Windows build under Wine inside one Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLO_SANITIZE=ON
cmake --build build/native -j "$(nproc)"
ctest --test-dir build/native --output-on-failure
# Three minutes of fuzzing, shared by the targets, on every run; a longer run
# is `bash scripts/fuzz.sh SECONDS`.
bash scripts/fuzz.sh 180

# The shipped 32-bit programs always build; the tests run in whichever Wine
# this host can execute.
bash scripts/build-win.sh win32
bash scripts/check-export-images.sh "build/win32/bin/Export images"
arch=$(bash scripts/wine-arch.sh)
if [ "$arch" != win32 ]; then
  # Said last, whatever the tests did, so that nobody reads a 64-bit pass as a
  # 32-bit one.
  trap 'echo "32-bit Wine cannot run on this host (the kernel runs no 32-bit programs): the tests run on the 64-bit build instead; the 32-bit programs are built but not tested."' EXIT
  bash scripts/build-win.sh "$arch"
fi
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/run-win-tests.sh "$arch"
