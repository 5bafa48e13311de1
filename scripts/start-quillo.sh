#!/usr/bin/env bash
# Starts the built Quillo under Wine on the current display:
# start-quillo.sh ARCH [ARGS]. run.sh calls it, directly or through xvfb-run.
#
# Quillo runs inside a Wine virtual desktop the size of the screen: where no
# window manager or notification area exists, Wine would leave its windows
# without frames and put a stand-in tray window over Quillo's caption and
# menus; the desktop draws the frames and has a taskbar for the tray icon.
# QUILLO_PLAIN_WINDOWS=1 starts Quillo as plain windows instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch="$1"
shift
bin="$root/build/$arch/bin"

# A prefix of its own: the tests' prefix (build/ARCH/wineprefix) has unmanaged
# windows, and the tests remove Quillo's settings from it.
export WINEPREFIX="$root/build/$arch/run-prefix"
if [ -f "$WINEPREFIX/system.reg" ]; then
  new_prefix=false
else
  new_prefix=true
fi
bash "$root/scripts/wine-prefix.sh" "$arch" "$WINEPREFIX"
# Debian's Wine does not find the fonts of fonts-wine where it installs them;
# without Marlett the caption buttons show as letters. In the prefix they count.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
# Only a new prefix: later choices of the person are never overwritten.
if [ "$new_prefix" = true ]; then
  bash "$root/scripts/first-use-seen.sh" "$arch" "$WINEPREFIX" "$bin"
fi

# A file named by its Linux path opens under the name Windows gives it, so
# the caption and the recent list show the one name Quillo's own dialogs use.
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then
    arg=$("$root/scripts/wine-run" "$arch" winepath -w "$(realpath "$arg")" | tr -d '\r')
  fi
  args+=("$arg")
done
set -- "${args[@]}"

if [ "${QUILLO_PLAIN_WINDOWS:-}" = 1 ]; then
  exec "$root/scripts/wine-run" "$arch" "$bin/Quillo.exe" "$@"
fi
size=$(xdpyinfo | awk '/dimensions:/ && !size { size = $2 } END { print size }')
# Returns when the last program on the desktop, Quillo's watcher, has ended.
exec "$root/scripts/wine-run" "$arch" explorer "/desktop=Quillo,$size" "$bin/Quillo.exe" "$@"
