#!/usr/bin/env bash
# Installs the packages, builds every target, runs every test with ctest, then checks the
# Debian package (MIREL_SKIP_PACKAGE_TEST=1 leaves that out).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIREL_BUILD_TESTS=ON
cmake --build build-tests --parallel "$(nproc)"
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 --parallel "$(nproc)"
cd ..
# The Debian package: lintian, the installed files, a clean Debian 12 root (about 15
# minutes on 2 cores: 7 to build the package, 8 for the root and its 285 MB download).
if [ "${MIREL_SKIP_PACKAGE_TEST:-}" != 1 ]; then
  bash scripts/package-test.sh
fi
