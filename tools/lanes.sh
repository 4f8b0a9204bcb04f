#!/usr/bin/env bash
# Usage: tools/lanes.sh [--why]
# Prints the Wine lanes that a test run uses: "32 64" where this machine runs
# 32-bit programs, "64" where its kernel refuses them. VEL_LANES ("32", "64"
# or "32 64") forces the choice. With --why it prints, in plain words, why a
# lane is left out (nothing when both run).
set -euo pipefail

# 32-bit Wine starts only where the kernel runs 32-bit programs; elsewhere
# the loader fails at once with "Exec format error".
runs_32_bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if [[ -n "${VEL_LANES:-}" ]]; then
  lanes=""
  for lane in $VEL_LANES; do
    case $lane in
      32|64) [[ " $lanes " == *" $lane "* ]] || lanes="$lanes $lane" ;;
      *) echo "error: VEL_LANES takes 32, 64 or \"32 64\", not '$VEL_LANES'" >&2; exit 2 ;;
    esac
  done
  lanes=$(echo $lanes | tr ' ' '\n' | sort -n | tr '\n' ' ')
  lanes=${lanes% }
  if [[ " $lanes " == *" 32 "* ]] && ! runs_32_bit; then
    echo "error: VEL_LANES asks for the 32-bit lane, but this machine does not run 32-bit programs" >&2
    exit 2
  fi
  if [[ " $lanes " != *" 32 "* ]] && ! runs_32_bit; then
    why="this machine does not run 32-bit programs"
  else
    why="VEL_LANES=\"$VEL_LANES\" left the $([[ " $lanes " == *" 32 "* ]] && echo 64 || echo 32)-bit lane out"
  fi
elif runs_32_bit; then
  lanes="32 64"
else
  lanes="64"
  why="this machine does not run 32-bit programs"
fi

if [[ "${1:-}" == --why ]]; then
  [[ "$lanes" == "32 64" ]] || echo "$why"
else
  echo "$lanes"
fi
