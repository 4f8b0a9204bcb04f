#!/usr/bin/env bash
# Usage: tools/selftest-check.sh LANE LOCALE:CODEPAGE OTHER_LOCALE:CODEPAGE WIN32_BUILD_DIR|- WIN64_BUILD_DIR|- PROGRAM...
# In the Wine lane that tools/lane-run.sh set up: packs the self-test
# package, unpacks it into an empty folder and runs its runner there for
# that lane, as a user would on Windows, with nothing of the build tree on
# Wine's path, in the locale LOCALE (Wine takes the ANSI code page from it),
# and after it in OTHER_LOCALE where this machine does not run the other
# lane. Passes when the runner exits 0 and each report says CODEPAGE and
# lists exactly the PROGRAMs (the lane's Wine test programs), each run
# classic and themed, each run passed, or skipped with a reason where only a
# Wine prefix setting makes the program possible.
# Then the runner's own faults, on probe programs: a failure, a hang, a
# crash and a fault in a window procedure at WM_CREATE reported as such, a
# result file left undeletable not lent to the next run, and a run from a
# read-only folder with a temporary folder that the code page cannot spell.
set -euo pipefail
: "${WINEPREFIX:?run through tools/lane-run.sh}" "${WINE:?run through tools/lane-run.sh}"
here=$(cd "$(dirname "$0")" && pwd)
lane=$1 locales=($2) other=$3 win32=$4 win64=$5; shift 5
other_lane=$([[ $lane == 32 ]] && echo 64 || echo 32)
[[ " ${VEL_LANES:-$("$here/lanes.sh")} " == *" $other_lane "* ]] || locales+=("$other")
expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
# Programs that may be skipped as a whole: the hosts that a Wine prefix
# setting makes see an old Windows, and in a 32-bit process the test of
# addresses above 4 GiB, which has none.
skippable=" win98_host nt4_host "
[[ $lane == 32 ]] && skippable+="high_memory_test "

work=$(mktemp -d "${TMPDIR:-/tmp}/vel-selftest.XXXXXX")
readonly_folder=
cleanup() {
  [[ -n "$readonly_folder" ]] && { chattr -i "$readonly_folder" 2>/dev/null || true; chmod u+w "$readonly_folder"; }
  rm -rf "$work"
}
trap cleanup EXIT
zip=$("$here/selftest-pack.sh" "$win32" "$win64" "$work/pack" | tail -n 1)
mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip")
folder=$(echo "$work/unpacked"/*/)
# The 32-bit runner is the one users start; a machine that runs no 32-bit
# programs has only the 64-bit one to start.
runner=VelSelfTest.exe
[[ $lane == 64 && ! -e "$folder/VelSelfTest.exe" ]] && runner=VelSelfTest64.exe
if [[ $lane == 64 ]] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then runner=VelSelfTest64.exe; fi

fail() { echo "selftest-check: $*" >&2; exit 1; }

# run_runner LOCALE FOLDER [ARGS...]: the runner of FOLDER in LOCALE (made
# with localedef where glibc lacks it); TEMP_FOR_RUN, when set, is the
# temporary folder it gets (Wine sets TEMP from its registry, so cmd sets it).
run_runner() {
  local locale=$1 dir=$2; shift 2
  local command=("$runner")
  [[ -n "${TEMP_FOR_RUN:-}" ]] && command=(cmd /c "set TEMP=$TEMP_FOR_RUN&& set TMP=$TEMP_FOR_RUN&& $runner")
  (export LC_ALL=$locale && . "$here/wine-locale.sh" &&
   cd "$dir" && env -u WINEPATH PATH=/usr/bin:/bin "$WINE" "${command[@]}" --lane "$lane" "$@" </dev/null)
}

# The report without its CR LF line ends, which it must have.
plain_report() {
  [[ -f "$1" ]] || fail "no report at $1"
  if grep -q $'[^\r]$' "$1"; then fail "$1 has lines that do not end in CR LF"; fi
  tr -d '\r' < "$1"
}

check_package() {  # LOCALE CODE_PAGE
  local locale=$1 code_page=$2 start=$SECONDS status report listed
  rm -f "$folder/VelSelfTest-report.txt"
  set +e
  run_runner "$locale" "$folder"
  status=$?
  set -e
  echo "selftest-check: $runner --lane $lane under LC_ALL=$locale took $((SECONDS - start)) s, exit status $status"
  report=$(plain_report "$folder/VelSelfTest-report.txt")
  echo "$report"
  [[ $status -eq 0 ]] || fail "the runner exited with $status"
  grep -q '^  Under Wine: *yes' <<<"$report" || fail "the report does not say it ran under Wine"
  grep -q "^  ANSI code page: *$code_page\$" <<<"$report" || fail "the report does not say code page $code_page"
  grep -qi "^  Themed, $lane-bit: *comctl32 .*\\\\winsxs\\\\" <<<"$report" ||
    fail "the report does not show the themed runs' comctl32 from winsxs"
  for run in classic themed; do
    listed=$(sed -n "s/^  win$lane\\\\\\([^ ]*\\)  *$run .*/\\1/p" <<<"$report" | LC_ALL=C sort)
    [[ "$listed" == "$expected" ]] || fail "the report's $run runs are of other programs than the lane's:
$(diff <(echo "$expected") <(echo "$listed"))"
  done
  while read -r program run outcome rest; do
    name=${program#win$lane\\}
    case $outcome in
      passed) ;;
      skipped) [[ "$skippable" == *" $name "* && -n "$rest" ]] ||
                 fail "$program ($run) was skipped, which only a program needing a Wine prefix setting may be" ;;
      *) fail "$program ($run) $outcome" ;;
    esac
  done < <(grep "^  win$lane\\\\" <<<"$report")
  echo "selftest-check: under LC_ALL=$locale (code page $code_page), all $(echo "$expected" | wc -l)" \
       "programs of the $lane-bit lane listed and passed, classic and themed"
}

for entry in "${locales[@]}"; do check_package "${entry%%:*}" "${entry##*:}"; done

# The runner must also see a failure, a hang and a crash: the probe, copied
# under five names into a package of its own, fails one test, hangs in
# another, crashes in a third, faults at WM_CREATE in a fourth (which the
# system would swallow unless the program's start-up stops it), and in a
# fifth fails and leaves its result file read-only, its next run then ending
# before it writes results of its own.
locale=${locales[0]%%:*}
limit=10
probe=$work/probe
build=$([[ $lane == 32 ]] && echo "$win32" || echo "$win64")
mkdir -p "$probe/win$lane"
cp "$folder/$runner" "$probe/"
for role in fail hang crash callback stale; do cp "$build/bin/selftest_probe.exe" "$probe/win$lane/probe_$role.exe"; done
set +e
run_runner "$locale" "$probe" --timeout "$limit"
status=$?
set -e
report=$(plain_report "$probe/VelSelfTest-report.txt")
[[ $status -eq 1 ]] || fail "with failing, hanging and crashing programs the runner exited with $status, not 1"
for run in classic themed; do
  grep -q "^  win$lane\\\\probe_fail  *$run  *failed .*1 failures, 4 skipped" <<<"$report" ||
    fail "the failing probe is not reported as failed ($run)"
  grep -q "^  win$lane\\\\probe_hang  *$run  *hung .*in Probe.Hangs$" <<<"$report" ||
    fail "the hanging probe is not reported as hung in its test ($run)"
  # Ended by its crash, not by the time limit, and with its code in hex.
  crash=$(grep "^  win$lane\\\\probe_crash  *$run " <<<"$report") || fail "the crashing probe is not listed ($run)"
  crashed=' crashed +exception 0xC0000005 \(access violation\) after ([0-9]+)\.[0-9] s, in Probe\.Crashes$'
  [[ "$crash" =~ $crashed ]] || fail "the crashing probe is not reported as crashed with its code: $crash"
  (( BASH_REMATCH[1] < limit )) || fail "the crashing probe ran until the limit: $crash"
  callback=$(grep "^  win$lane\\\\probe_callback  *$run " <<<"$report") || fail "the WM_CREATE probe is not listed ($run)"
  [[ "$callback" =~ ' crashed '+'exception 0xC0000005 (access violation) after '.*', in Probe.CrashesInWmCreate'$ ]] ||
    fail "the fault at WM_CREATE is not reported as a crash ($run): $callback"
done
# The stale probe's second run must not show the first run's failure.
stale_run() { awk -v run="$1" '$1 ~ /probe_stale$/ && $2 == run { on = 1; print; next } !/^    / { on = 0 } on' <<<"$report"; }
stale_run classic | grep -q " failed .*1 failures" || fail "the stale probe's first run is not reported as failed"
stale=$(stale_run themed)
grep -q "^  win$lane\\\\probe_stale  *themed  *failed  *exit code 4, .*ended in Probe.LeavesItsResultsBehind$" <<<"$stale" &&
  ! grep -q "stale failure\|failures" <<<"$stale" ||
  fail "the run after an undeletable result file borrowed its results or was not reported as failed: $stale"
grep -q "^    note: the result file .*results.xml that an earlier run left could not be deleted" <<<"$stale" ||
  fail "the run after an undeletable result file does not say so: $stale"
grep -q "^    failed: Probe.Fails$" <<<"$report" || fail "the failing test is not named"
grep -q "deliberate failure" <<<"$report" || fail "the failure's message is missing"
grep -q "^    skipped: Probe.Hangs: only the hanging probe hangs" <<<"$report" || fail "the skip's reason is missing"
grep -A2 "probe_crash .* crashed " <<<"$report" | grep -q "^    last output:$" || fail "the crash's last output is missing"
grep -q "^Summary of 10 runs: 0 passed, 4 failed, 4 crashed, 2 hung, 0 skipped$" <<<"$report" ||
  fail "the summary does not count them"
echo "selftest-check: the runner reports the failing probe as failed, the hanging one as hung, the" \
     "crashing one as crashed, with its code, after $(sed -E 's/.* after ([0-9.]+ s).*/\1/' <<<"$crash")," \
     "the one faulting at WM_CREATE as crashed, and the run after an undeletable result file with its own results"

# From a read-only folder (immutable for root, whom the mode bits do not
# stop) with a temporary folder named outside every ANSI code page: the
# failing probe is reported as before, and the report goes where the
# runner says.
readonly_package=$work/read-only
mkdir -p "$readonly_package/win$lane" "$work/temp_ტემპ"
cp "$probe/$runner" "$readonly_package/"
cp "$probe/win$lane/probe_fail.exe" "$readonly_package/win$lane/"
readonly_folder=$readonly_package
chmod a-w "$readonly_package"
writable() { touch "$1/.writable" 2>/dev/null && rm -f "$1/.writable"; }
if writable "$readonly_package"; then chattr +i "$readonly_package" 2>/dev/null || true; fi
read_only=1
if writable "$readonly_package"; then
  read_only=0
  echo "selftest-check: note: no folder can be made read-only here (root without the right to make one" \
       "immutable): the read-only folder is not checked, the temporary folder is"
fi
set +e
output=$(TEMP_FOR_RUN=$("$WINE" winepath -w "$work/temp_ტემპ" 2>/dev/null) run_runner "$locale" "$readonly_package")
status=$?
set -e
echo "$output"
[[ $status -eq 1 ]] || fail "from a read-only folder the failing probe's runner exited with $status, not 1"
if [[ $read_only == 1 ]]; then
  grep -q "could not write the report to .*read-only.VelSelfTest-report.txt" <<<"$output" ||
    fail "the runner does not say that the folder refused the report"
fi
written=$(sed -n 's/^Report: \([^\r]*\).*/\1/p' <<<"$output")
[[ -n "$written" ]] || fail "the runner does not say where the report went"
unix_written=$("$WINE" winepath -u "$written" 2>/dev/null)
moved=$(plain_report "$unix_written")
rm -f "$unix_written"
through=$(sed -n 's/^  Temporary folder: .*temp_ტემპ; the programs. results went through \(.*\), which code page.*/\1/p' <<<"$moved")
[[ -n "$through" && "$through" != *ტ* ]] ||
  fail "the report does not show the temporary folder outside the code page passed over: $(grep Temporary <<<"$moved")"
for run in classic themed; do
  diff <(grep "^  win$lane\\\\probe_fail  *$run " <<<"$report" | sed 's/[0-9.]* s,/N s,/') \
       <(grep "^  win$lane\\\\probe_fail  *$run " <<<"$moved" | sed 's/[0-9.]* s,/N s,/') ||
    fail "with a temporary folder outside the code page the failing probe is reported otherwise"
done
echo "selftest-check:$([[ $read_only == 1 ]] && echo " from a read-only folder,") with the temporary folder" \
     "$(basename "$work")/temp_ტემპ (results through $through), the failing probe is reported as before, in $written"

# Started from inside the zip, Explorer extracts the runner alone.
mkdir "$work/alone"
cp "$probe/$runner" "$work/alone/"
set +e
output=$(run_runner "$locale" "$work/alone" 2>&1)
status=$?
set -e
[[ $status -eq 2 ]] && grep -q 'Extract All first' <<<"$output" ||
  fail "the runner alone does not say \"Extract All first\" (exit status $status): $output"
echo "selftest-check: the runner alone says \"Extract All first\""
