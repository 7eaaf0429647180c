#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: wine-run.sh PREFIX PROGRAM [ARGS...]
# PREFIX is a throw-away Wine prefix of the build's own, made on first use.
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG=-all
# No desktop integration and no dialogs: the prefix is for tests only.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export DISPLAY=
# Debian's 64-bit Wine starts without a preloader, so now and then the kernel has already put
# something where Wine must place the shared user data (0x7ffe0000), and the program never starts:
# "failed to map the shared user data", exit code 1, no output. That happened about once in 400
# starts here. Without address randomization the layout is the same every time and never collides;
# where the system does not allow turning it off, Wine runs as it is.
launcher=()
if setarch "$(uname -m)" -R true 2>/dev/null; then
  launcher=(setarch "$(uname -m)" -R)
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "${launcher[@]}" wine wineboot.exe --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
exec "${launcher[@]}" wine "$@"
