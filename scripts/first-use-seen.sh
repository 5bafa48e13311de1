#!/usr/bin/env bash
# Marks the first-use help as seen in a new Wine prefix, so that a new user
# meets the tutorial outline and not a help window that Wine shows blank:
# first-use-seen.sh ARCH PREFIX PROGRAM_FOLDER (the folder of Quillo.exe).
#
# The smallest store in which Quillo's load keeps the help off holds the keys
# User, Options and Reopen, the user settings and the general and date
# options, all whole: the load takes a store without a behaviour group for one
# whose first use is over, and writes the behaviour, folder and web groups
# from its defaults with the help off. With less (FirstUse alone, say) it
# takes the store for a first start or a damaged one and writes every group
# from its defaults, help on. The values below are Quillo's defaults
# (core/SettingsRecords.h).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch="$1"
export WINEPREFIX="$2"
folder="$3"

# The Windows path of the program folder, as Quillo reads it (drive Z: is the
# Linux root in every prefix), with the backslashes a ".reg" file doubles.
program_folder="Z:${folder//\//\\\\}\\\\"
tutorial="${program_folder}Quillo Tutorial.kbf"

seed=$(mktemp --suffix=.reg)
trap 'rm -f "$seed"' EXIT
cat >"$seed" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Corvane\\Quillo\\1\\Reopen]

[HKEY_CURRENT_USER\\Software\\Corvane\\Quillo\\1\\User]
"Name"="Anybody"
"Startup"=dword:00000001
"UseLast"=dword:00000001
"LastDb"="$tutorial"
"Maximized"=dword:00000000
"Toolbar"=dword:00000001
"Height"=dword:000001d8
"Width"=dword:0000027e
"TreeWidth"=dword:0000013f
"XPos"=dword:00000002
"YPos"=dword:00000004
"CustomFile"="$tutorial"

[HKEY_CURRENT_USER\\Software\\Corvane\\Quillo\\1\\Options]
"StatusBar"=dword:00000001
"SaveOptions"=dword:00000000
"SaveExit"=dword:00000000
"AutoSave"=dword:00000000
"DocumentsFolder"="$program_folder"
"TreeButtons"=dword:00000001
"TreeLines"=dword:00000001
"TreeStates"=dword:00000001
"TreeImages"=dword:00000001
"EscMinimize"=dword:00000000
"DblClickHyperlink"=dword:00000001
"InsInsert"=dword:00000000
"UseLastFolder"=dword:00000001
"OutlineFontFace"="Verdana"
"PageFontFace"="Verdana"
"PrintFontFace"="Verdana"
"OutlineFontSize"=dword:00000008
"PageFontSize"=dword:00000008
"PrintFontSize"=dword:00000008
"OutlineColor"=dword:00000000
"PageColor"=dword:00000000
"Traybar"=dword:00000003
"NormalView"=dword:00000001
"OutlineView"=dword:00000000
"DeleteConfirm"=dword:00000001
"DateTimeFormat"=""
"BackupCopy"=dword:00000000
EOF
"$here/wine-run" "$arch" regedit /S "$seed"
