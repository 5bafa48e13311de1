#!/usr/bin/env bash
# Builds what running Quillo needs and starts it under Wine, on this display,
# or on a virtual one when there is none (scripts/start-quillo.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A file named relative to where the command was given stays that file.
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then
    arg=$(realpath "$arg")
  fi
  args+=("$arg")
done
set -- "${args[@]}"
cd "$root"

bash scripts/setup.sh
arch=$(bash scripts/wine-arch.sh)
# The two programs, the help file, the templates and the tutorial; no tests.
bash scripts/build-win.sh "$arch" Quillo _Dorwick quillo_help quillo_templates quillo_tutorial

if [ -n "${DISPLAY:-}" ]; then
  exec bash scripts/start-quillo.sh "$arch" "$@"
fi
size=1280x1024
echo "No display is set: Quillo runs on a virtual screen of $size that nobody sees; run this again with DISPLAY set (a desktop session, or ssh -X) to see it." >&2
# xvfb-run is a /bin/sh script, so what it runs is a script file.
exec xvfb-run -a -s "-screen 0 ${size}x24" bash scripts/start-quillo.sh "$arch" "$@"
