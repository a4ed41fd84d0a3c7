#!/bin/bash
# shellcheck disable=SC2016,SC2317 # a script run as another user; a trap handler
# The site server ends a connection of another user on the same machine before reading it,
# and serves its own.
#   OtherUserTest.sh <mirel-sites program>
# Needs root (to add the user and run a client as them); skipped (77) otherwise.
set -u
SITES=$1
PEER=mirel-peer-test
if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null; then
  echo "skipped: needs root and setpriv to act as a second user"
  exit 77
fi
created=""
if ! id "$PEER" >/dev/null 2>&1; then
  useradd --system --no-create-home --shell /usr/sbin/nologin "$PEER" || exit 1
  created=1
fi
LOG=$(mktemp)
"$SITES" 0 --no-settings --apertium off 2>"$LOG" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -f "$LOG"
  [ -z "$created" ] || userdel "$PEER"
}
trap cleanup EXIT

port=""
for _ in $(seq 1 200); do
  port=$(sed -n 's|^mirel-sites: listening on http://127\.0\.0\.1:\([0-9]*\).*|\1|p' "$LOG")
  [ -n "$port" ] && break
  sleep 0.05
done
[ -n "$port" ] || { echo "FAIL: the server did not listen"; cat "$LOG"; exit 1; }

# The status line the server answers a window's request with, for the user running it.
ask='exec 3<>"/dev/tcp/127.0.0.1/$0" || exit 1
printf "GET /ad/201072928_1.html HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nConnection: close\r\n\r\n" "$0" >&3
head -n 1 <&3 | tr -d "\r"'
own=$(bash -c "$ask" "$port")
other=$(setpriv --reuid="$PEER" --regid="$PEER" --clear-groups bash -c "$ask" "$port")
failures=0
[ "$own" = "HTTP/1.1 200 OK" ] || { echo "FAIL: its own user got '$own'"; failures=1; }
[ -z "$other" ] || { echo "FAIL: another user got '$other'"; failures=1; }
grep -q 'refused: a connection of another user, ended unread' "$LOG" ||
  { echo "FAIL: the refusal is not logged"; failures=1; }
[ "$failures" = 0 ] && echo "passed: own user '$own', other user '$other'"
exit "$failures"
