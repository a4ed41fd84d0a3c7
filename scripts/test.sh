#!/usr/bin/env bash
# Installs the packages, builds every target and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIREL_BUILD_TESTS=ON
cmake --build build-tests --parallel "$(nproc)"
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 --parallel "$(nproc)"
