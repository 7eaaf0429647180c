#!/usr/bin/env bash
# Configures and builds Kexwell into ./build (Release with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${KEXWELL_CMAKE_ARGS:-} >/dev/null
cmake --build build
