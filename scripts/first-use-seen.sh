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
# from its defaults, help on. first-use-seen.reg holds Quillo's defaults; a
# test of the app checks them against the program's own.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch="$1"
export WINEPREFIX="$2"
folder="$3"

# The Windows path of the program folder, as Quillo reads it (drive Z: is the
# Linux root in every prefix), with the backslashes a ".reg" file doubles.
program_folder="Z:${folder//\//\\\\}\\\\"

seed=$(mktemp --suffix=.reg)
trap 'rm -f "$seed"' EXIT
template=$(<"$here/first-use-seen.reg")
printf '%s\n' "${template//@PROGRAM_FOLDER@/"$program_folder"}" >"$seed"
"$here/wine-run" "$arch" regedit /S "$seed"
