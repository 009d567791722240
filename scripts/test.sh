#!/usr/bin/env bash
# Installs what is needed, builds with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEMWIN_TESTS=ON -DZEMWIN_SANITIZE=ON
cmake --build build-test
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 120
