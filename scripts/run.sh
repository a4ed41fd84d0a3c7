#!/usr/bin/env bash
# Installs the packages, builds Mirel with every outside site on the local site server, starts
# the site server, then the program. The site server (and Xvfb, when one was started) stop when the
# program ends.
#
#   bash scripts/run.sh                 the program against the site server
#   bash scripts/run.sh --upstream URL  the same, with a LibreTranslate-compatible service
#                                       for the pairs Apertium lacks (--api-key-file FILE:
#                                       its key, read from FILE so that ps never shows it)
#   bash scripts/run.sh --relay-busy    the same, with the Baidu relay answering "busy"
#   bash scripts/run.sh --sites-only  only the site server, in the foreground (Ctrl-C ends it)
#
# Without a display the program runs under Xvfb for a few seconds and a screenshot of its
# window is saved to build-run/mirel-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

PORT=8765
BUILD=build-run
SCREENSHOT="$BUILD/mirel-screenshot.png"
SITES_LOG="$BUILD/sites.log"
sites_args=()
sites_only=0
usage() {
  echo "usage: bash scripts/run.sh [--upstream URL [--api-key-file FILE]] [--apertium URL|off]" \
    "[--relay-busy] [--sites-only]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --relay-busy) sites_args+=(--busy) ;;
    --sites-only) sites_only=1 ;;
    --upstream | --api-key-file | --apertium)
      [ $# -ge 2 ] || usage
      sites_args+=("$1" "$2")
      shift ;;
    *) usage ;;
  esac
  shift
done

bash scripts/install-deps.sh

# Ask CMake where it puts each target (file API), so the program is found by its target.
mkdir -p "$BUILD/.cmake/api/v1/query"
touch "$BUILD/.cmake/api/v1/query/codemodel-v2"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIREL_SITES=local \
  -DMIREL_LOCAL_PORT="$PORT" -DMIREL_BUILD_TESTS=OFF

artifact_of() { # target name -> path of its executable
  local reply path
  reply=$(ls "$BUILD"/.cmake/api/v1/reply/target-"$1"-Release-*.json 2>/dev/null | head -n 1)
  [ -n "$reply" ] || return 1
  path=$(tr -d '\n\t' <"$reply" | grep -o '"artifacts" *: *\[[^]]*\]' |
    grep -o '"path" *: *"[^"]*"' | head -n 1 | sed 's/.*: *"\(.*\)"/\1/')
  [ -n "$path" ] || return 1
  case "$path" in /*) echo "$path" ;; *) echo "$BUILD/$path" ;; esac
}

targets=(mirel-sites)
[ "$sites_only" -eq 1 ] || targets+=(mirel)
cmake --build "$BUILD" --target "${targets[@]}" --parallel "$(nproc)"
SITES=$(artifact_of mirel-sites) || { echo "run.sh: no mirel-sites target" >&2; exit 1; }

if [ "$sites_only" -eq 1 ]; then
  echo "Site server at http://127.0.0.1:$PORT/ (Ctrl-C stops it)"
  exec "$SITES" "$PORT" "${sites_args[@]}"
fi
APP=$(artifact_of mirel) || { echo "run.sh: no mirel target" >&2; exit 1; }

sites_pid=""
xvfb_pid=""
app_pid=""
cleanup() {
  for pid in "$app_pid" "$sites_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "$app_pid" "$sites_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$SITES" "$PORT" "${sites_args[@]}" >"$SITES_LOG" 2>&1 &
sites_pid=$!
# The site server starts Apertium first: allow it a minute on a busy machine.
for _ in $(seq 1 300); do
  if curl -sf -o /dev/null "http://127.0.0.1:$PORT/"; then break; fi
  if ! kill -0 "$sites_pid" 2>/dev/null; then
    echo "run.sh: the site server did not start:" >&2
    cat "$SITES_LOG" >&2
    sites_pid=""
    exit 1
  fi
  sleep 0.2
done
curl -sf -o /dev/null "http://127.0.0.1:$PORT/" ||
  { echo "run.sh: the site server does not answer on port $PORT" >&2; exit 1; }
echo "Site server at http://127.0.0.1:$PORT/ (requests logged to $SITES_LOG)"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting $APP; close its window to end."
  "$APP" &
  app_pid=$!
  wait "$app_pid" || true
  app_pid=""
  exit 0
fi

# No display: a virtual one, a screenshot, then the program is closed.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$BUILD/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  xdpyinfo -display ":$display" >/dev/null 2>&1 && break
  sleep 0.2
done
xdpyinfo -display ":$display" >/dev/null 2>&1 ||
  { echo "run.sh: Xvfb did not start (see $BUILD/xvfb.log)" >&2; exit 1; }

echo "No display: running $APP under Xvfb :$display"
DISPLAY=":$display" "$APP" >"$BUILD/mirel.log" 2>&1 &
app_pid=$!
sleep 8
if ! kill -0 "$app_pid" 2>/dev/null; then
  echo "run.sh: the program ended early (see $BUILD/mirel.log)" >&2
  app_pid=""
  exit 1
fi
# The main window is the top-level window of the program's class.
window=$(xwininfo -display ":$display" -root -tree 2>/dev/null |
  grep -F '("mirel" ' | awk '{print $1}' | head -n 1 || true)
if [ -n "$window" ] && import -display ":$display" -window "$window" "$SCREENSHOT" 2>/dev/null; then
  :
else
  import -display ":$display" -window root "$SCREENSHOT"
fi
echo "Screenshot of the window: $SCREENSHOT"
kill "$app_pid" 2>/dev/null || true
for _ in $(seq 1 25); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
kill -9 "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "Program closed; the site server served:"
tail -n 20 "$SITES_LOG"
