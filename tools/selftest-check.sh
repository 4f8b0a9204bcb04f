#!/usr/bin/env bash
# Usage: tools/selftest-check.sh LANE WIN32_BUILD_DIR|- WIN64_BUILD_DIR|- PROGRAM...
# In the Wine lane that tools/lane-run.sh set up: packs the self-test
# package, unpacks it into an empty folder and runs its runner there for
# that lane, as a user would on Windows, with nothing of the build tree on
# Wine's path. Passes when the runner exits 0 and its report lists exactly
# the PROGRAMs (the lane's Wine test programs), each passed, or skipped with
# a reason where only a Wine prefix setting makes the program possible.
set -euo pipefail
: "${WINEPREFIX:?run through tools/lane-run.sh}" "${WINE:?run through tools/lane-run.sh}"
here=$(cd "$(dirname "$0")" && pwd)
lane=$1 win32=$2 win64=$3; shift 3
expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
# Programs that may be skipped as a whole: the hosts that a Wine prefix
# setting makes see an old Windows, and in a 32-bit process the test of
# addresses above 4 GiB, which has none.
skippable=" win98_host nt4_host "
[[ $lane == 32 ]] && skippable+="high_memory_test "

work=$(mktemp -d "${TMPDIR:-/tmp}/vel-selftest.XXXXXX")
trap 'rm -rf "$work"' EXIT
zip=$("$here/selftest-pack.sh" "$win32" "$win64" "$work/pack" | tail -n 1)
mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip")
folder=$(echo "$work/unpacked"/*/)
# The 32-bit runner is the one users start; a machine that runs no 32-bit
# programs has only the 64-bit one to start.
runner=VelSelfTest.exe
[[ $lane == 64 && ! -e "$folder/VelSelfTest.exe" ]] && runner=VelSelfTest64.exe
if [[ $lane == 64 ]] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then runner=VelSelfTest64.exe; fi

start=$SECONDS
set +e
(cd "$folder" && env -u WINEPATH PATH=/usr/bin:/bin "$WINE" "$runner" --lane "$lane" </dev/null)
status=$?
set -e
echo "selftest-check: $runner --lane $lane took $((SECONDS - start)) s, exit status $status"
report="$folder/VelSelfTest-report.txt"
[[ -f "$report" ]] || { echo "selftest-check: no report written"; exit 1; }
cat "$report"

fail() { echo "selftest-check: $*"; exit 1; }
[[ $status -eq 0 ]] || fail "the runner exited with $status"
grep -q '^  Under Wine: *yes' "$report" || fail "the report does not say it ran under Wine"
listed=$(sed -n "s/^  win$lane\\\\\\([^ ]*\\) .*/\\1/p" "$report" | LC_ALL=C sort)
[[ "$listed" == "$expected" ]] || fail "the report lists other programs than the lane's:
$(diff <(echo "$expected") <(echo "$listed"))"
while read -r program outcome rest; do
  name=${program#win$lane\\}
  case $outcome in
    passed) ;;
    skipped) [[ "$skippable" == *" $name "* && -n "$rest" ]] ||
               fail "$program was skipped, which only a program needing a Wine prefix setting may be" ;;
    *) fail "$program $outcome" ;;
  esac
done < <(grep "^  win$lane\\\\" "$report")
echo "selftest-check: all $(echo "$expected" | wc -l) programs of the $lane-bit lane listed and passed"

# The runner must also see a failure and a hang: the probe, copied under
# two names into a package of its own, fails one test and hangs in another.
probe=$work/probe
build=$([[ $lane == 32 ]] && echo "$win32" || echo "$win64")
mkdir -p "$probe/win$lane"
cp "$folder/$runner" "$probe/"
cp "$build/bin/selftest_probe.exe" "$probe/win$lane/probe_fail.exe"
cp "$build/bin/selftest_probe.exe" "$probe/win$lane/probe_hang.exe"
set +e
(cd "$probe" && env -u WINEPATH PATH=/usr/bin:/bin "$WINE" "$runner" --lane "$lane" --timeout 10 </dev/null)
status=$?
set -e
report="$probe/VelSelfTest-report.txt"
[[ $status -eq 1 ]] || fail "with a failing and a hanging program the runner exited with $status, not 1"
grep -q "^  win$lane\\\\probe_fail  *failed .*1 failures, 1 skipped" "$report" || fail "the failing probe is not reported as failed"
grep -q "^    failed: Probe.Fails$" "$report" || fail "the failing test is not named"
grep -q "deliberate failure" "$report" || fail "the failure's message is missing"
grep -q "^    skipped: Probe.Hangs: only the hanging probe hangs" "$report" || fail "the skip's reason is missing"
grep -q "^  win$lane\\\\probe_hang  *hung .*in Probe.Hangs$" "$report" || fail "the hanging probe is not reported as hung in its test"
grep -q "^Summary: 0 passed, 1 failed, 1 hung, 0 skipped$" "$report" || fail "the summary does not count them"
echo "selftest-check: the runner reports the failing probe as failed and the hanging one as hung"
