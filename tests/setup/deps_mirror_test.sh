#!/usr/bin/env bash
# tools/deps.sh against a mirror caught mid-sync, played by stand-in apt-get,
# dpkg and dpkg-query on the PATH: the update fails on one index every time,
# as Debian's mirror did ("File has unexpected size ... Mirror sync in
# progress?"), and an install that takes the suite of updates fails on the
# versions that the missing i386 index would have matched.
set -uo pipefail
deps=$(realpath "$(dirname "$0")/../../tools/deps.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0 case_ok=1
fail() { echo "FAIL: $*"; case_ok=0; }
# Ends one case: counts it as passed or failed.
tally() { if [[ $case_ok -eq 1 ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi; case_ok=1; }

mkdir "$work/bin"
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
echo "unknown ok not-installed"
STUB
cat > "$work/bin/dpkg" <<'STUB'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STUB
cat > "$work/bin/id" <<'STUB'
#!/bin/sh
echo 0
STUB
cat > "$work/bin/sleep" <<'STUB'
#!/bin/sh
echo "sleep $*" >> "$APT_LOG"
STUB
# MIRROR=mid-sync: the update fails on the security suite's i386 index.
# INSTALL=suite-only: an install succeeds only with the release suite (-t).
# INSTALL=never: every install fails.
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >> "$APT_LOG"
case "$1" in
  update)
    [ "$MIRROR" = healthy ] && exit 0
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install)
    case "$INSTALL $*" in
      "suite-only "*" -t bookworm "*) exit 0 ;;
    esac
    echo " wine32:i386 : Depends: zlib1g:i386 (>= 1:1.1.4) but it is not going to be installed" >&2
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100 ;;
esac
exit 0
STUB
chmod +x "$work/bin"/*
printf 'ID=debian\nVERSION_CODENAME=bookworm\n' > "$work/os-release"

# Runs deps.sh with the stand-ins; sets status, out (both streams) and log.
run() {
  : > "$work/apt.log"
  out=$(env PATH="$work/bin:$PATH" APT_LOG="$work/apt.log" MIRROR="$1" INSTALL="$2" \
            VEL_OS_RELEASE="$work/os-release" VEL_APT_RETRY_SECONDS=7 bash "$deps" 2>&1)
  status=$?
  log=$(cat "$work/apt.log")
}
count() { grep -c "$1" <<<"$log"; }

# The update is retried, then the install goes on and, failing, is tried once
# more from the release's own suite alone.
run mid-sync suite-only
[[ $status -eq 0 ]] || fail "mid-sync, suite install possible: exit $status, output: $out"
[[ $(count '^apt-get update') -eq 3 ]] || fail "expected 3 updates, log: $log"
[[ $(count '^sleep 7') -eq 2 ]] || fail "expected 2 pauses between the updates, log: $log"
[[ $(count '^apt-get install') -eq 2 ]] || fail "expected 2 installs, log: $log"
grep -q '^apt-get install .* -t bookworm .*wine32:i386' <<<"$log" || fail "second install not from bookworm alone: $log"
grep -q 'going on with the package indexes that did load' <<<"$out" || fail "no word of the indexes that failed: $out"
tally

# Nothing helps: deps.sh fails and says what happened and the command to run.
run mid-sync never
[[ $status -ne 0 ]] || fail "mid-sync, no install possible: exit 0"
grep -q 'part-way through a sync' <<<"$out" || fail "no explanation: $out"
grep -q 'run:  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends .*wine32:i386' <<<"$out" \
  || fail "no command to run: $out"
tally

# A healthy mirror: one update, one install; a failed install is not retried
# from another suite, since every index loaded.
run healthy never
[[ $status -ne 0 && $(count '^apt-get update') -eq 1 && $(count '^apt-get install') -eq 1 ]] \
  || fail "healthy mirror, broken install: exit $status, log: $log"
grep -q -- '-t bookworm' <<<"$log" && fail "healthy mirror: install retried from bookworm alone"
tally

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
