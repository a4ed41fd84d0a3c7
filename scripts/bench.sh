#!/usr/bin/env bash
# Builds the benchmarks in build-bench (Release) and runs them: the HTTP client against
# libcurl on the loopback server (ending with the ratio table), then form encoding, the
# Cookie value and the dictionary scraper, the site server against APy, then the window's start-up and click-to-result
# times. Extra arguments go to the two benchmark programs, e.g.
#   scripts/bench.sh --benchmark_min_time=1
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIREL_BUILD_BENCHMARKS=ON \
  -DMIREL_BUILD_TESTS=ON >/dev/null
cmake --build build-bench --parallel "${JOBS:-2}" --target mirel_http_bench mirel_core_bench \
  mirel_window_timing mirel_bare_webview mirel mirel_gateway_bench
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
  "load $(cut -d' ' -f1-3 /proc/loadavg)"
build-bench/bench/mirel_http_bench --benchmark_color=false "$@"
build-bench/bench/mirel_core_bench --benchmark_color=false "$@"
# The site server's own time per translation against asking Apertium's APy directly.
build-bench/bench/mirel_gateway_bench
# The web engine is talkative on stderr; it is kept in a log and shown on failure.
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" build-bench/bench/mirel_window_timing \
  2>build-bench/window_timing.log || { cat build-bench/window_timing.log >&2; exit 1; }
# Peak memory of the program's own process next to a bare web-view window of the same
# size, each ended after a few seconds (the web engine's helper processes not counted).
for prog in build-bench/app/mirel build-bench/bench/mirel_bare_webview; do
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" /usr/bin/time -f '%M' -o build-bench/peak.txt \
    timeout -s TERM 6 "$prog" >/dev/null 2>&1 || true
  echo "peak memory of $(basename "$prog"): $(tail -n 1 build-bench/peak.txt) KiB"
done
