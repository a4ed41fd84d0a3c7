#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan
# and runs the whole test suite; any sanitizer report or leak from our code fails it.
# Leaks inside Qt, fontconfig and the web engine are suppressed (tests/lsan.supp).
#
#   scripts/sanitize.sh [ctest arguments ...]
#   BUILD_TARGETS="net_tests hostile_tests" scripts/sanitize.sh -R "Hostile|Cookie"
#                         (only some targets and tests; JOBS sets the build's parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIREL_SANITIZE=ON \
  -DMIREL_BUILD_TESTS=ON >/dev/null
# shellcheck disable=SC2086 # the target list is meant to split
cmake --build build-asan --parallel "${JOBS:-2}" ${BUILD_TARGETS:+--target $BUILD_TARGETS}

# new_delete_type_mismatch is off: the web engine's own code (Chromium, not built with
# sanitizers) frees some objects with a sized delete of another size when a page closes.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:new_delete_type_mismatch=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
# The web engine's sandbox cannot start under ASan.
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=offscreen
cd build-asan
ctest --output-on-failure --timeout 600 --parallel "${JOBS:-2}" "$@"
