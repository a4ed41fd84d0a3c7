#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a number of
# seconds, one after the other. New inputs go to build-fuzz/corpus/<target>; the
# committed seeds in fuzz/corpus/<target> are only read. Crashes are written to
# build-fuzz/artifacts/<target>/; the script goes on with the next target and fails at
# the end when any target found a problem.
#
#   scripts/fuzz.sh [seconds-per-target] [target ...]     (default 600, all targets)
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET="${1:-600}"
shift || true
ALL=(fuzz_text fuzz_response_reader fuzz_cookie_store fuzz_cookie_date fuzz_word_scraper
     fuzz_result_page)
[ $# -gt 0 ] && TARGETS=("$@") || TARGETS=("${ALL[@]}")

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIREL_FUZZ=ON -DMIREL_BUILD_TESTS=ON -DMIREL_BUILD_SITES=OFF >/dev/null
cmake --build build-fuzz --parallel 2 --target "${TARGETS[@]}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for t in "${TARGETS[@]}"; do
  seeds="fuzz/corpus/${t#fuzz_}"
  work="build-fuzz/corpus/${t#fuzz_}"
  artifacts="build-fuzz/artifacts/${t#fuzz_}/"
  mkdir -p "$work" "$artifacts"
  echo "== $t for ${SECONDS_PER_TARGET}s"
  dict=()
  [ -f "fuzz/${t#fuzz_}.dict" ] && dict=(-dict="fuzz/${t#fuzz_}.dict")
  "build-fuzz/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -rss_limit_mb=2048 \
    -max_len=65536 -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "${dict[@]}" "$work" "$seeds" 2>&1 | tee "build-fuzz/$t.log" | grep -E "^(#[0-9]+ +DONE|stat::|==[0-9]+==ERROR|SUMMARY)" || true
  if [ "${PIPESTATUS[0]}" -ne 0 ]; then
    echo "$t found a problem: see build-fuzz/$t.log and $artifacts" >&2
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "problems found by: ${failed[*]}" >&2
  exit 1
fi
