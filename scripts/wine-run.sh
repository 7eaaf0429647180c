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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
exec wine "$@"
