#!/bin/bash
# mirel-launch with the real mirel-sites and stand-in windows: one server per user while
# any launcher runs, whatever the order windows close, crash or are signalled.
#   LauncherLifetimeTest.sh <mirel-launch script> <mirel-sites program>
set -u
LAUNCHER=$1
SITES=$2
TMP=$(mktemp -d)
BIN="$TMP/bin"
STATE="$TMP/state"
export HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/config" XDG_CACHE_HOME="$TMP/cache"
export XDG_RUNTIME_DIR="$TMP/runtime" STATE
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$BIN" "$STATE" "$HOME" "$XDG_CONFIG_HOME/mirel" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$LAUNCHER" "$BIN/mirel-launch"
chmod +x "$BIN/mirel-launch"
ln -s "$(readlink -f "$SITES")" "$BIN/mirel-sites"
printf 'apertium = off\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
LOG="$XDG_CACHE_HOME/mirel/sites.log"
RUN="$XDG_RUNTIME_DIR/mirel"

# A stand-in window: notes its pid, then its port (the sign that it is open), and ends when
# told to close.
cat >"$BIN/mirel" <<'WINDOW'
#!/bin/bash
echo $$ >"$STATE/$1.pid"
echo "$MIREL_SITES_PORT" >"$STATE/$1.port.new" && mv "$STATE/$1.port.new" "$STATE/$1.port"
while [ ! -e "$STATE/$1.close" ]; do sleep 0.05; done
WINDOW
chmod +x "$BIN/mirel"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
declare -A launcher

# until <seconds> <command...>: true once the command succeeds within the time.
until_true() {
  local tries=$(($1 * 20))
  shift
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    sleep 0.05
    tries=$((tries - 1))
  done
  return 1
}

# The status line of a request to the server on port $1, as a window sends it.
status_of() {
  (
    exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1
    printf 'GET /ad/201072928_1.html HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nConnection: close\r\n\r\n' \
      "$1" >&3
    head -n 1 <&3 | tr -d '\r'
  ) 2>/dev/null
}
answers() { [ "$(status_of "$1")" = "HTTP/1.1 200 OK" ]; }
servers() { pgrep -c -f "^$BIN/mirel-sites " || true; }
# shellcheck disable=SC2317 # called through until_true
no_server() { [ "$(servers)" = 0 ] && [ ! -e "$RUN/port" ]; }
# shellcheck disable=SC2317
has_port() { [ -s "$STATE/$1.port" ]; }

open_window() {
  rm -f "$STATE/$1".*
  env --default-signal=INT,HUP,TERM "$BIN/mirel-launch" "$1" 2>>"$TMP/launch.err" &
  launcher[$1]=$!
}
window_port() {
  until_true 30 has_port "$1" || { fail "window $1 did not open"; return; }
  cat "$STATE/$1.port"
}
close_window() {
  touch "$STATE/$1.close"
  wait "${launcher[$1]}"
}
expect_served() { # <what> <port>
  answers "$2" || fail "$1: the server on port $2 does not answer"
  [ "$(servers)" = 1 ] || fail "$1: $(servers) servers run"
}
expect_gone() {
  until_true 15 no_server || fail "$1: the server is still there ($(servers) running)"
}

echo "# two windows; the first to open closes first"
open_window a
port=$(window_port a)
open_window b
[ "$(window_port b)" = "$port" ] || fail "the second window got another server"
close_window a
expect_served "after the first window closed" "$port"
close_window b
expect_gone "after both windows closed"

echo "# a crashed window and a launcher ended by TERM"
open_window a
port=$(window_port a)
open_window b
window_port b >/dev/null
kill -KILL "$(cat "$STATE/b.pid")"
wait "${launcher[b]}"
expect_served "after a window crashed" "$port"
kill -TERM "${launcher[a]}"
wait "${launcher[a]}"
kill -0 "$(cat "$STATE/a.pid")" 2>/dev/null && fail "TERM to the launcher left its window"
expect_gone "after TERM to the last launcher"

echo "# starts at the same moment; HUP and INT to the launchers"
for w in a b f g; do open_window $w; done
port=$(window_port a)
for w in b f g; do
  [ "$(window_port $w)" = "$port" ] || fail "simultaneous starts got more than one server"
done
expect_served "simultaneous starts" "$port"
for w in b f g; do
  kill -HUP "${launcher[$w]}"
  wait "${launcher[$w]}"
done
expect_served "after HUP to one launcher" "$port"
kill -INT "${launcher[a]}"
wait "${launcher[a]}"
expect_gone "after INT to the last launcher"

echo "# a window after the server stopped gets a new one"
open_window c
window_port c >/dev/null
expect_served "a fresh start" "$(cat "$STATE/c.port")"
close_window c
expect_gone "after the fresh window closed"
[ "$(grep -c 'starting the site server' "$LOG")" = 4 ] ||
  fail "the log was not appended to: $(grep -c 'starting the site server' "$LOG") starts in it"

echo "# a crashed server comes back on its port while a window uses it"
open_window h
port=$(window_port h)
pkill -KILL -f "^$BIN/mirel-sites "
until_true 15 answers "$port" || fail "the crashed server did not come back on port $port"
expect_served "after the server crashed" "$port"
close_window h
expect_gone "after the window of the crashed server closed"

echo "# a launcher killed outright: its window keeps the server"
open_window k
port=$(window_port k)
kill -KILL "${launcher[k]}"
wait "${launcher[k]}" 2>/dev/null
sleep 0.5
expect_served "after the launcher was killed" "$port"
touch "$STATE/k.close"
expect_gone "after the window of the killed launcher closed"

echo "# a bad setting: the reason shown, no window, no server"
mkdir -p "$TMP/dialog"
cat >"$TMP/dialog/zenity" <<'DIALOG'
#!/bin/bash
printf '%s\n' "$@" >"$STATE/dialog"
DIALOG
chmod +x "$TMP/dialog/zenity"
printf 'apertium = off\nupstream = ftp://nowhere\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
rm -f "$STATE"/d.*
PATH="$TMP/dialog:$PATH" DISPLAY=:99 "$BIN/mirel-launch" d 2>"$TMP/bad.err"
status=$?
[ "$status" = 1 ] || fail "a failed start ended with status $status"
[ -e "$STATE/d.pid" ] && fail "a window opened without a server"
grep -q 'upstream address must read http://host:port: ftp://nowhere' "$STATE/dialog" ||
  fail "the dialog does not give the reason: $(cat "$STATE/dialog" 2>/dev/null)"
grep -q "$LOG" "$STATE/dialog" || fail "the dialog does not name the log"
grep -q 'ftp://nowhere' "$TMP/bad.err" || fail "stderr does not give the reason"
expect_gone "after a failed start"

echo "# the log moves to sites.log.1 beyond its bound"
printf 'apertium = off\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
head -c $((1100 * 1024)) /dev/zero | tr '\0' 'x' >"$LOG"
open_window e
window_port e >/dev/null
close_window e
expect_gone "after the last window"
[ "$(stat -c %s "$LOG.1")" -ge $((1100 * 1024)) ] || fail "the old log was not kept as sites.log.1"
[ "$(stat -c %s "$LOG")" -lt 100000 ] || fail "the log was not started afresh"

if [ "$failures" -gt 0 ]; then
  echo "--- sites.log"; cat "$LOG"; echo "--- launcher stderr"; cat "$TMP/launch.err"
fi
rm -rf "$TMP"
[ "$failures" = 0 ] && echo "all passed"
exit $((failures > 0))
