#!/usr/bin/env bash
# Usage: tools/run-tests.sh NATIVE_BUILD_DIR   (make test runs it under tools/with-wine.sh)
# Runs every test through CTest, then says which Wine lanes ran and how many
# test programs had to be run a second time.
set -uo pipefail
: "${VEL_LANES:?run the tests through make test or tools/with-wine.sh}"
nat=$(realpath "$1")
build=$(dirname "$nat")
for lane in 32 64; do rm -f "$build/win$lane/wine-retries.log"; done

ctest --test-dir "$nat" --output-on-failure
status=$?

count() { ctest --test-dir "$nat" -N -L "$1" | sed -n 's/^Total Tests: //p'; }
echo
summary="Wine lanes:"
[[ -n "${VEL_LANES_WHY:-}" ]] && summary="$summary $VEL_LANES_WHY:"
for lane in 32 64; do
  if [[ " $VEL_LANES " == *" $lane "* ]]; then
    summary="$summary the $lane-bit lane ran $(count lane$lane) tests;"
  else
    summary="$summary the $lane-bit lane was skipped;"
  fi
done
echo "${summary%;}"
[[ -n "${VEL_LOCALE_NOTE:-}" ]] && echo "Wine ran in the $VEL_LOCALE_NOTE"
retries=$(cat "$build"/win{32,64}/wine-retries.log 2>/dev/null)
if [[ -n "$retries" ]]; then echo "$retries"; else echo "Wine test programs run a second time: none"; fi
exit $status
