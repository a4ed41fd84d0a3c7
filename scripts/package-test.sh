#!/usr/bin/env bash
# Builds the Debian package and checks it as Debian and a new user meet it:
#   1. lintian: no error, and every warning explained in README ("The Debian package");
#   2. the installed files: hardened, stripped, the update library private but linked at
#      load time, manual pages covering `mirel-sites --help`, the changelog's version;
#   3. a clean Debian 12 root (mmdebstrap, from Debian's mirror): `apt-get install
#      ./mirel_*.deb` pulls every dependency, and the installed mirel-sites translates an
#      English -> Spanish Google form through Apertium.
#   bash scripts/package-test.sh [--deb FILE] [--no-root]
# Step 3 needs root or user namespaces (mmdebstrap's unshare mode); --no-root leaves it out.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
deb=""
fresh_root=yes
while [ $# -gt 0 ]; do
  case $1 in
    --deb) deb=$(readlink -f "$2"); shift 2 ;;
    --no-root) fresh_root=""; shift ;;
    *) echo "usage: $0 [--deb FILE] [--no-root]" >&2; exit 2 ;;
  esac
done
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
started=$SECONDS
step() { echo "== $* ($((SECONDS - started)) s)"; }

if [ -z "$deb" ]; then
  step "building the package"
  bash scripts/package.sh build-pkg
  deb=$(ls "$project"/build-pkg/mirel_*.deb)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
dpkg-deb -x "$deb" "$tree"

step "lintian"
lintian -EvIL +pedantic --fail-on none "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
if grep -q '^E: ' "$work/lintian"; then
  fail "lintian reports errors"
fi
# A warning stays only when README says why.
while read -r tag; do
  grep -q -- "$tag" README.md || fail "lintian warning $tag is not explained in README"
done < <(sed -n 's/^W: mirel[^:]*: \([^ ]*\).*/\1/p' "$work/lintian" | sort -u)

step "installed files"
private=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/mirel
programs=(usr/bin/mirel usr/bin/mirel-sites "$private/libupdate.so.1")
# Bookworm's compiler flags have no control-flow protection. glibc's fortified functions:
# mirel and its library call only ones whose sizes are known at run time (memcpy, recv,
# poll), which hardening-check counts as unprotected; mirel-sites, from the same flags,
# shows that fortify reached the build.
for file in "${programs[@]}"; do
  [ -e "$tree/$file" ] || { fail "$file is not in the package"; continue; }
  file -L "$tree/$file" | grep -q ', stripped' || fail "$file is not stripped"
  checks=(--nocfprotection)
  [ "$file" = usr/bin/mirel-sites ] || checks+=(--nofortify)
  hardening-check --quiet "${checks[@]}" "$tree/$file" || fail "$file lacks hardening (above)"
done
readelf -d "$tree/usr/bin/mirel" | grep -q 'NEEDED.*\[libupdate\.so\.1\]' ||
  fail "mirel is not linked to libupdate.so.1 at load time"
readelf -d "$tree/usr/bin/mirel" | grep RUNPATH | grep -qF "[\$ORIGIN/../${private#usr/}]" ||
  fail "mirel does not find its update library through RUNPATH \$ORIGIN/../${private#usr/}"
[ -z "$(find "$tree/usr/lib" "$tree/${private%/mirel}" -maxdepth 1 -name "*.so*")" ] ||
  fail "a library in a public folder"

# Every option --help lists is in the manual page; --help itself succeeds.
if help=$("$tree/usr/bin/mirel-sites" --help); then
  page=$(zcat "$tree/usr/share/man/man1/mirel-sites.1.gz" | sed 's/\\-/-/g')
  for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -q -- "${option#--}" <<<"$page" || fail "mirel-sites.1 does not describe $option"
  done
else
  fail "mirel-sites --help exits $?"
fi
for page in mirel mirel-sites mirel-launch; do
  [ -e "$tree/usr/share/man/man1/$page.1.gz" ] || fail "no manual page for $page"
done
changelog_version=$(dpkg-parsechangelog -l resources/package/changelog -S Version)
[ "$changelog_version" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the changelog's latest entry is $changelog_version, the package $(dpkg-deb -f "$deb" Version)"

if [ -n "$fresh_root" ]; then
  step "a clean Debian 12 root"
  mirror=http://deb.debian.org
  cp "$deb" "$work/mirel.deb"
  cat >"$work/in-root.sh" <<'SCRIPT'
set -eu
export DEBIAN_FRONTEND=noninteractive
cd /tmp
apt-get install -y ./mirel.deb
# Every library of every installed program is there.
for program in /usr/bin/mirel /usr/bin/mirel-sites; do
  if ldd "$program" | grep 'not found'; then echo "FAIL: $program lacks the libraries above"; exit 1; fi
done
SCRIPT
  cat >"$work/translate.sh" <<'SCRIPT'
# Runs the installed site server in the root, asks it for English -> Spanish with the
# Google form, and stops it.
set -eu
root=$1
# No locale at all, as after "su - user": the server gives APy a UTF-8 one itself.
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root \
  mirel-sites 0 --no-settings >"$root/tmp/sites.log" 2>&1 &
server=$!
port=""
for _ in $(seq 1 900); do
  port=$(sed -n 's|.*listening on http://127\.0\.0\.1:\([0-9]*\).*|\1|p' "$root/tmp/sites.log")
  [ -n "$port" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
# The server listens at once; Apertium's pairs answer 503 until APy has listed them.
for _ in $(seq 1 900); do
  grep -q 'apertium: [0-9]* pairs' "$root/tmp/sites.log" && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
status=1
if [ -n "$port" ]; then
  form='js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=Good%20morning%2C%20my%20friend&file=&sl=en&tl=es'
  page=$(curl -sS --max-time 30 -H 'Content-Type: application/x-www-form-urlencoded' \
    --data-binary "$form" "http://127.0.0.1:$port/") || true
  answer=$(sed -n 's|.*name=gtrans value="\([^"]*\)".*|\1|p' <<<"$page")
  echo "English -> Spanish: ${answer:-<none>}"
  case $answer in *[Aa]migo*) status=0 ;; esac
fi
kill "$server" 2>/dev/null || true
wait "$server" 2>/dev/null || true
[ $status -eq 0 ] || { echo "FAIL: no Spanish from the installed mirel-sites"; cat "$root/tmp/sites.log"; }
exit $status
SCRIPT
  if mmdebstrap --variant=apt --mode=auto \
    --customize-hook="copy-in $work/mirel.deb $work/in-root.sh /tmp" \
    --customize-hook='chroot "$1" sh /tmp/in-root.sh' \
    --customize-hook="bash $work/translate.sh \"\$1\"" \
    bookworm /dev/null \
    "deb $mirror/debian bookworm main" "deb $mirror/debian bookworm-updates main" \
    "deb $mirror/debian-security bookworm-security main"; then
    pass "installed with its dependencies on a clean Debian 12 root, translated there"
  else
    fail "the clean Debian 12 root (above)"
  fi
fi

step "done"
if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package checks passed"
