#!/usr/bin/env bash
# tools/wine-locale.sh: the Wine lanes get the caller's UTF-8 locale, or
# C.UTF-8 where the caller has none or one of another character set, in
# which Wine could not name files outside ASCII.
set -uo pipefail
script=$(realpath "$(dirname "$0")/../../tools/wine-locale.sh")
passed=0 failed=0

# chosen VAR=VALUE...: LC_ALL after sourcing the script in that environment alone.
# Nothing is made: the test must not install locales on the machine.
chosen() { env -i PATH="$PATH" VEL_LOCALE_MAKE=0 "$@" bash -c ". '$script' 2>/dev/null; echo \"\$LC_ALL\"" 2>/dev/null; }
expect() {  # expect WANTED VAR=VALUE...
  local wanted=$1; shift
  local got; got=$(chosen "$@")
  if [[ "$got" == "$wanted" ]]; then passed=$((passed + 1))
  else failed=$((failed + 1)); echo "FAIL: with ${*:-an empty environment}: LC_ALL=$got, expected $wanted"; fi
}

expect C.UTF-8
expect C.UTF-8 LANG=C
expect C.UTF-8 LANG=POSIX
expect C.UTF-8 LANG=de_DE.ISO-8859-1
expect C.UTF-8 LC_ALL=ja_JP.eucJP LANG=ja_JP.UTF-8
expect C.UTF-8 LANG=C.UTF-8
expect de_DE.UTF-8 LANG=de_DE.UTF-8
expect ja_JP.UTF-8 LANG=C LC_ALL=ja_JP.UTF-8
expect ru_RU.utf8 LC_CTYPE=ru_RU.utf8
expect sr_RS.UTF-8@latin LANG=sr_RS.UTF-8@latin

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
