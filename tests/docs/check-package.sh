#!/usr/bin/env bash
# Usage: tests/docs/check-package.sh WIN32_BUILD_DIR WIN64_BUILD_DIR WORK_DIR
# Makes the release package as make dist does, unpacks it into an empty
# folder and checks what a script author opens: README.txt (CR LF, at most
# 80 columns, plain ASCII, every file it names there), no Markdown left,
# and every HTML page in headless Chromium (check_browser.py). The pictures
# of the start page and an action page stay in WORK_DIR/shots.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(realpath -m "$3")
rm -rf "$work/dist" "$work/unpacked" "$work/profile"
mkdir -p "$work/unpacked"
zip=$(env -u VEL_SIGN_CERT -u VEL_SIGN_KEY "$root/tools/dist.sh" "$1" "$2" "$work/dist" | grep -v selftest | tail -n 1)
(cd "$work/unpacked" && unzip -q "$zip")
package=$(echo "$work/unpacked"/*/)
package=${package%/}
faults=0
fault() { echo "$*"; faults=1; }

readme="$package/README.txt"
[[ -f "$readme" ]] || fault "the package has no README.txt"
if [[ -f "$readme" ]]; then
  grep -qn $'[^\r]$' "$readme" && fault "README.txt: lines not ended by CR LF: $(grep -n $'[^\r]$' "$readme" | cut -d: -f1 | head -3 | tr '\n' ' ')"
  [[ -z "$(tail -c 1 "$readme")" ]] || fault "README.txt does not end with a line end"
  tr -d '\r' < "$readme" | awk 'length > 80 { print "README.txt:" NR ": " length " columns"; bad = 1 } END { exit bad }' || faults=1
  LC_ALL=C grep -qn '[^ -~'$'\r\t'']' "$readme" && fault "README.txt: characters outside ASCII"
  grep -q '@[A-Z]*@' "$readme" && fault "README.txt: a placeholder was left: $(grep -o '@[A-Z]*@' "$readme" | head -1)"
  # Each program, DLL and page it names, written as Windows writes paths.
  for name in $(tr -d '\r' < "$readme" | grep -oE '[A-Za-z0-9_.\\-]+\.(dll|exe|html)\b' | sort -u); do
    [[ -f "$package/${name//\\//}" ]] || fault "README.txt names $name, which the package lacks"
  done
fi
left=$(cd "$package" && find . -name '*.md' | sort)
[[ -z "$left" ]] || fault "Markdown left in the package: $left"

started=$SECONDS
python3 "$here/check_browser.py" "$package" "$work/shots" "$work/profile" || faults=1
echo "Chromium's check took $((SECONDS - started)) s; pictures: $(ls "$work"/shots/*.png | tr '\n' ' ')"
rm -rf "$work/profile"
# The package is kept only for a failure to be looked at; the pictures stay.
[[ $faults -eq 0 ]] && rm -rf "$work/dist" "$work/unpacked"
exit $faults
