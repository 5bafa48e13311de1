#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's packages.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils
  googletest
  clang libclang-rt-14-dev
  fp-utils
  giflib-tools gifsicle imagemagick
  icoutils netpbm
)

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # One index of the mirror can fail (a mirror mid-sync) while the packages
  # still install from the others: go on to the install and judge by it.
  update_log=$(mktemp)
  update_ok=1
  $SUDO apt-get update -qq 2>"$update_log" || update_ok=0
  cat "$update_log" >&2
  install_missing() { $SUDO apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}"; }
  index_failed=0
  if [ "$update_ok" -eq 0 ] || grep -q '^E:' "$update_log"; then
    index_failed=1
  fi
  if ! install_missing; then
    if [ "$index_failed" -eq 0 ]; then
      rm -f "$update_log"
      exit 1
    fi
    # With the security index of one architecture missing, the amd64 and
    # i386 copies of a shared library can only agree on the release's own
    # versions; the security updates come with the system's next upgrade.
    echo "setup: retrying with the packages of the release itself, since the package index failed to update." >&2
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    if ! install_missing -t "$release"; then
      cause=$(grep -m1 '^E:' "$update_log" || echo "apt-get update failed")
      echo "setup: the packages could not be installed after the package index failed to update (${cause#E: }); try again later." >&2
      rm -f "$update_log"
      exit 1
    fi
  fi
  rm -f "$update_log"
fi
