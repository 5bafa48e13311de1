#!/usr/bin/env bash
# Makes a Wine prefix for one build tree, once: wine-prefix.sh ARCH PREFIX [test].
# Uses the x11 graphics driver: with the null driver no window is created and
# the notification area does not exist. With "test", windows are unmanaged:
# Xvfb has no window manager, and Wine would otherwise wait two seconds for
# one every time a window is hidden or destroyed. Without it (a person's
# desktop) the window manager draws the frames.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch="$1"
prefix="$2"
mode="${3:-desktop}"
export WINEPREFIX="$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  "$here/wine-run" "$arch" wineboot -i >/dev/null 2>&1
  wineserver -w
fi
"$here/wine-run" "$arch" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
if [ "$mode" = test ]; then
  managed=N
else
  managed=Y
fi
"$here/wine-run" "$arch" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
