#!/bin/bash
# mirel-launch with the real mirel-sites and stand-in windows: one server per user while
# any launcher runs, whatever the order windows close, crash or are signalled and whatever
# their sessions set; failures shown through stand-in dialog programs.
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
# The user's runtime folder (/run/user/UID on a desktop), which the session's
# XDG_RUNTIME_DIR may name or not.
USER_RUN="$TMP/runuser/$(id -u)"
mkdir -p "$BIN" "$STATE" "$HOME" "$XDG_CONFIG_HOME/mirel" "$XDG_RUNTIME_DIR" "$USER_RUN"
chmod 700 "$XDG_RUNTIME_DIR" "$USER_RUN"
sed "s|^RUNTIME_ROOT=.*|RUNTIME_ROOT=$TMP/runuser|" "$LAUNCHER" >"$BIN/mirel-launch"
chmod +x "$BIN/mirel-launch"
ln -s "$(readlink -f "$SITES")" "$BIN/mirel-sites"
printf 'apertium = off\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
LOG="$XDG_CACHE_HOME/mirel/sites.log"
RUN="$USER_RUN/mirel"

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

open_window() { # <name> [env arguments: NAME=value, -u NAME]
  rm -f "$STATE/$1".*
  env --default-signal=INT,HUP,TERM "${@:2}" "$BIN/mirel-launch" "$1" 2>>"$TMP/launch.err" &
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

echo "# launchers with and without XDG_RUNTIME_DIR meet one server"
for root in runuser none; do
  [ "$root" = runuser ] || { mv "$TMP/runuser" "$TMP/runuser.away"; RUN="$HOME/.cache/mirel/run"; }
  open_window m XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR"
  port=$(window_port m)
  open_window n -u XDG_RUNTIME_DIR
  open_window o XDG_RUNTIME_DIR="$TMP"
  for w in n o; do
    [ "$(window_port $w)" = "$port" ] || fail "$root: a launcher of another session got another server"
  done
  expect_served "$root: launchers of three sessions" "$port"
  [ -s "$RUN/port" ] || fail "$root: the state is not in $RUN"
  for w in m n o; do close_window $w; done
  expect_gone "$root: after the windows of three sessions closed"
done
mv "$TMP/runuser.away" "$TMP/runuser"
RUN="$USER_RUN/mirel"

# Stand-in dialog programs: each notes its locale and text, then exits with the status
# given in $STATE/<name>.status (0 without one).
mkdir -p "$TMP/dialog"
for program in zenity kdialog notify-send; do
  cat >"$TMP/dialog/$program" <<'DIALOG'
#!/bin/bash
name=$(basename "$0")
{ echo "LC_ALL=${LC_ALL:-}"; printf '%s\n' "$@"; } >>"$STATE/$name.shown"
exit "$(cat "$STATE/$name.status" 2>/dev/null || echo 0)"
DIALOG
  chmod +x "$TMP/dialog/$program"
done
DIALOGS=(-u LANG -u LC_ALL -u LC_CTYPE PATH="$TMP/dialog:$PATH" DISPLAY=:99)
shown() { cat "$STATE"/*.shown 2>/dev/null; }
# shellcheck disable=SC2317
shown_by() { [ -s "$STATE/$1.shown" ]; }

echo "# a bad setting: the reason shown, no window, no server; without a locale"
printf 'apertium = off\nupstream = ftp://nowhere\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
for zenity in 0 255; do
  rm -f "$STATE"/d.* "$STATE"/*.shown
  echo "$zenity" >"$STATE/zenity.status"
  env "${DIALOGS[@]}" "$BIN/mirel-launch" d 2>"$TMP/bad.err"
  status=$?
  [ "$status" = 1 ] || fail "a failed start ended with status $status"
  [ -e "$STATE/d.pid" ] && fail "a window opened without a server"
  by=zenity
  [ "$zenity" = 0 ] || by=kdialog
  grep -q 'upstream address must read http://host:port: ftp://nowhere' "$STATE/$by.shown" ||
    fail "zenity $zenity: $by does not give the reason: $(shown)"
  grep -q "$LOG" "$STATE/$by.shown" || fail "zenity $zenity: $by does not name the log"
  grep -qi '^LC_ALL=.*utf-\?8' "$STATE/$by.shown" || fail "$by ran without a UTF-8 locale"
  [ "$(cat "$STATE"/*.shown | grep -c '^LC_ALL=')" = "$((zenity == 0 ? 1 : 2))" ] ||
    fail "zenity $zenity: not one dialog after another until one succeeds: $(shown)"
  grep -q 'ftp://nowhere' "$TMP/bad.err" || fail "stderr does not give the reason"
  expect_gone "after a failed start"
done
rm -f "$STATE/zenity.status"

echo "# the real zenity on a display, without a locale: the failure dialog opens"
# shellcheck disable=SC2317
zenity_window() { xwininfo -display "$display" -root -tree 2>/dev/null | grep -q 'Mirel.*"Zenity"'; }
if command -v Xvfb >/dev/null && command -v zenity >/dev/null && command -v xwininfo >/dev/null; then
  Xvfb -displayfd 3 -nolisten tcp 3>"$TMP/display" 2>/dev/null &
  xvfb=$!
  until_true 30 test -s "$TMP/display" || fail "Xvfb did not start"
  display=":$(cat "$TMP/display")"
  env -u LANG -u LC_ALL -u LC_CTYPE -u LANGUAGE DISPLAY="$display" "$BIN/mirel-launch" z 2>/dev/null &
  shown_at=$!
  until_true 60 zenity_window || fail "zenity showed no dialog without a locale"
  # The launcher first: a dialog that ends otherwise than by its button passes the text on.
  dialog=$(pgrep -P "$shown_at" zenity)
  kill "$shown_at"
  wait "$shown_at"
  [ -z "$dialog" ] || kill "$dialog"
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null
else
  echo "(skipped: Xvfb, zenity or xwininfo is not installed)"
fi

echo "# a settings file with a key that others can read: shown once"
printf 'apertium = off\ndeepl-key = k3y-value\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
chmod 644 "$XDG_CONFIG_HOME/mirel/sites.conf"
for round in first again; do
  rm -f "$STATE"/*.shown
  open_window w "${DIALOGS[@]}"
  window_port w >/dev/null
  if [ "$round" = first ]; then
    until_true 15 shown_by zenity || fail "the readable key file was not shown"
    { grep -q "$XDG_CONFIG_HOME/mirel/sites.conf holds deepl-key" "$STATE/zenity.shown" &&
      grep -q 'chmod 600' "$STATE/zenity.shown"; } || fail "the notice lacks the file or the fix: $(shown)"
    grep -q k3y-value "$STATE/zenity.shown" && fail "the notice shows the key"
  else
    sleep 1
    [ -z "$(shown)" ] || fail "the readable key file was shown twice: $(shown)"
  fi
  close_window w
  expect_gone "after the key file's window ($round)"
done

echo "# a server that keeps crashing: the user told, the next window gets it on its port"
printf 'apertium = off\n' >"$XDG_CONFIG_HOME/mirel/sites.conf"
rm -f "$STATE"/*.shown
open_window h "${DIALOGS[@]}"
port=$(window_port h)
for crash in 1 2 3; do
  until_true 15 answers "$port" || fail "crash $crash: the server is not back on port $port"
  pkill -KILL -f "^$BIN/mirel-sites "
done
until_true 15 shown_by zenity || fail "the user was not told that the server gave up"
grep -q "$LOG" "$STATE/zenity.shown" || fail "the notice does not name the log: $(shown)"
answers "$port" && fail "the server came back after three quick crashes"
open_window j
[ "$(window_port j)" = "$port" ] || fail "the next window got another port than the open one"
expect_served "after a new window asked for the server" "$port"
for w in h j; do close_window $w; done
expect_gone "after the windows of the crashing server closed"

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
