#!/usr/bin/env bash
# Usage: tests/header/compile-page-host.sh C_COMPILER PAGE INCLUDE_DIR
# Compiles the page's C block (the minimal host that the host developers'
# page shows) against the header, as C with every warning an error, so that
# the page cannot drift from the header. Casting GetProcAddress's result to
# the export's type is how a Windows host takes an export; GCC's -Wextra
# alone calls that cast suspect, so that one warning is off.
set -euo pipefail
block=$(awk '/^```c$/ { inside = 1; next } /^```/ { if (inside) exit } inside' "$2")
[[ -n "$block" ]] || { echo "$2: no C block"; exit 1; }
printf '%s\n' "$block" |
  "$1" -x c -std=c99 -Wall -Wextra -Wno-cast-function-type -pedantic -Werror -I"$3" -fsyntax-only -
