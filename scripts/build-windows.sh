#!/usr/bin/env bash
# Cross-compiles the Windows command line and the core tests into ./build-windows with mingw-w64
# (static: no DLL besides Windows' own is needed). The desktop program needs Qt for Windows,
# which Debian does not ship; see the README.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DKEXWELL_BUILD_GUI=OFF -DKEXWELL_BUILD_BENCH=OFF ${KEXWELL_CMAKE_ARGS:-} >/dev/null
cmake --build build-windows
