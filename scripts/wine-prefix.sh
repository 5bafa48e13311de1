#!/usr/bin/env bash
# Makes the project's 32-bit Wine prefix inside the build tree, once.
# Uses the x11 graphics driver: with the null driver no window is created and
# the notification area does not exist.
set -euo pipefail
prefix="$1"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
