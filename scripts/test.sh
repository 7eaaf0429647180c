#!/usr/bin/env bash
# Sets up what is missing, builds with warnings as errors, and runs every test: the Linux build's,
# the Debian package's, then the Windows build's under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
KEXWELL_CMAKE_ARGS="-DKEXWELL_WERROR=ON ${KEXWELL_CMAKE_ARGS:-}" scripts/build.sh
ctest --test-dir build --output-on-failure --timeout 600
tests/package/package_tests.sh
scripts/test-windows.sh
