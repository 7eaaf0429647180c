#!/usr/bin/env bash
# Builds the Windows command line and core tests (scripts/build-windows.sh) and runs the tests
# under Wine, in a throw-away Wine prefix inside build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
KEXWELL_CMAKE_ARGS="-DKEXWELL_WERROR=ON ${KEXWELL_CMAKE_ARGS:-}" scripts/build-windows.sh

prefix="$PWD/build-windows/wine-prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# The prefix is made once, before the tests start in parallel; one Wine server then serves them
# all and is stopped at the end.
if [ ! -f "$prefix/system.reg" ]; then
  echo "Making the Wine prefix $prefix ..."
  scripts/wine-run.sh "$prefix" cmd /c exit 0 >/dev/null 2>&1 || true
fi
# Wait for the server that made the prefix to go, then start the one that stays, and Wine's own
# background services with it. Started here, the services hold no pipe of ctest's: a service
# started by the first test would keep that test's output open, and ctest would wait for it.
wineserver --wait || true
wineserver --persistent
trap 'wineserver --kill >/dev/null 2>&1 || true' EXIT
scripts/wine-run.sh "$prefix" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
ctest --test-dir build-windows --output-on-failure --timeout 600 -j"$(nproc)"
