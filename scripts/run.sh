#!/usr/bin/env bash
# Builds Quillo and starts it under Wine, on this display, or on a virtual one
# when there is none.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
arch=$(bash scripts/wine-arch.sh)
bash scripts/build-win.sh "$arch"

start() {
  bash "$root/scripts/wine-prefix.sh" "$arch" "$root/build/$arch/wineprefix"
  "$root/scripts/wine-run" "$arch" "$root/build/$arch/bin/Quillo.exe" "$@"
}
export -f start
export root arch

if [ -n "${DISPLAY:-}" ]; then
  start "$@"
else
  echo "No display is set: Quillo runs on a virtual screen (set DISPLAY to see it)." >&2
  xvfb-run -a bash -c 'start "$@"' bash "$@"
fi
