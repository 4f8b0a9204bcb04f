#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when any is missing.
# As root it installs them; otherwise it prints the command to run and fails.
#
# A mirror part-way through a sync can refuse one index ("File has unexpected
# size ... Mirror sync in progress?"). The update is then tried a few times
# and the install goes on with the indexes that did load. If the install then
# fails, most often because the missing index was the i386 one of a suite of
# updates whose amd64 versions it would need to match (wine32:i386 and
# zlib1g:i386, say), it is tried once more preferring the release's own
# suite, where the versions of both architectures agree.
set -euo pipefail

# Unversioned names, so that one list serves Debian 12 and 13 alike (clang's
# runtime is libclang-rt-14-dev on one and -19-dev on the other). Each name
# is what the scripts call: zip and unzip pack and check the release and
# self-test packages; locales makes the caller's UTF-8 locale for Wine;
# cmark-gfm renders the release's reference as HTML, chromium checks it;
# osslsigncode signs a release (openssl makes the signing test's certificate).
packages=(cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest xvfb xauth
          wine wine32:i386 wine64 fonts-liberation fonts-wine imagemagick
          clang libclang-rt-dev zip unzip python3 locales
          cmark-gfm chromium osslsigncode openssl)
update_attempts=${VEL_APT_UPDATE_ATTEMPTS:-3}
retry_seconds=${VEL_APT_RETRY_SECONDS:-20}
os_release=${VEL_OS_RELEASE:-/etc/os-release}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1
install_cmd="DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"

if [[ $(id -u) -ne 0 ]]; then
  cmd="apt-get update && $install_cmd"
  [[ $need_i386 -eq 1 ]] && cmd="dpkg --add-architecture i386 && $cmd"
  echo "error: missing packages: ${missing[*]}" >&2
  echo "run as root:  $cmd" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
[[ $need_i386 -eq 1 ]] && dpkg --add-architecture i386

updated=0
for ((attempt = 1; attempt <= update_attempts; attempt++)); do
  if apt-get update; then updated=1; break; fi
  if ((attempt < update_attempts)); then
    echo "deps: apt-get update failed (attempt $attempt of $update_attempts); trying again in $retry_seconds s" >&2
    sleep "$retry_seconds"
  fi
done
if [[ $updated -eq 0 ]]; then
  echo "deps: apt-get update failed $update_attempts times; going on with the package indexes that did load" >&2
fi

install() { DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@" "${missing[@]}"; }
install && exit 0
[[ $updated -eq 1 ]] && exit 1

# The release's own suite (bookworm rather than bookworm-security or
# bookworm-updates) for this one install only: nothing is left configured.
codename=$(. "$os_release" 2>/dev/null && echo "${VERSION_CODENAME:-}")
if [[ -n "$codename" ]]; then
  echo "deps: the install failed with an incomplete package index; trying the $codename suite alone" >&2
  if install -t "$codename"; then
    echo "deps: installed from $codename without its newest updates; once the mirror has synced," \
         "'apt-get update && apt-get upgrade' brings them in" >&2
    exit 0
  fi
fi
echo "error: the package mirror is part-way through a sync: 'apt-get update' could not load every" \
     "index, and the install cannot match the versions of the indexes that did load." >&2
echo "wait until the mirror has synced (usually minutes), then run:  apt-get update && $install_cmd" >&2
exit 1
