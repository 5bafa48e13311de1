#!/usr/bin/env bash
# Makes a Wine prefix for one build tree, once: wine-prefix.sh ARCH PREFIX.
# Uses the x11 graphics driver: with the null driver no window is created and
# the notification area does not exist.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch="$1"
prefix="$2"
export WINEPREFIX="$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  "$here/wine-run" "$arch" wineboot -i >/dev/null 2>&1
  wineserver -w
fi
"$here/wine-run" "$arch" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
