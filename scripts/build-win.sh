#!/usr/bin/env bash
# Cross-compiles Quillo, its watcher and the Windows tests: build-win.sh ARCH
# [TARGET...] builds into build/ARCH (win32: the shipped 32-bit programs;
# win64: the same sources for hosts that can only run 64-bit Wine), everything
# or only the named targets.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
arch="${1:-win32}"
shift || true
case "$arch" in
  win32) toolchain=mingw-i686 ;;
  win64) toolchain=mingw-x86_64 ;;
  *) echo "unknown architecture: $arch" >&2; exit 2 ;;
esac
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake"
cmake --build "build/$arch" -j "$(nproc)" "${targets[@]}"
