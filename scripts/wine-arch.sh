#!/usr/bin/env bash
# Prints the Wine architecture this host can run Quillo's tests in: win32 when
# the kernel executes 32-bit programs (32-bit Wine needs them), else win64.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
