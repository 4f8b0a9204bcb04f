#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when any is missing.
# As root it installs them; otherwise it prints the command to run and fails.
set -euo pipefail

packages=(cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest xvfb xauth
          wine wine32:i386 wine64 fonts-liberation fonts-wine imagemagick
          clang libclang-rt-14-dev zip python3)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1
cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
[[ $need_i386 -eq 1 ]] && cmd="dpkg --add-architecture i386 && $cmd"

if [[ $(id -u) -ne 0 ]]; then
  echo "error: missing packages: ${missing[*]}" >&2
  echo "run as root:  $cmd" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
bash -c "$cmd"
