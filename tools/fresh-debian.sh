#!/usr/bin/env bash
# Usage: tools/fresh-debian.sh 12|13 [--keep]
# Tries the Quick start as a new user would: makes a fresh root file system of
# Debian 12 (bookworm) or 13 (trixie) with mmdebstrap from the Debian mirror
# this machine is configured with, clones this repository's committed HEAD
# into it, and runs `make demo` and then `make test` there as root with an
# empty environment (HOME and PATH only). Prints both results and times, and
# exits 0 only when both passed. Needs root; installs mmdebstrap if missing.
# The root lives in a temporary folder under /var/tmp, removed at the end
# unless --keep is given; its mounts are undone on every exit.
set -euo pipefail
release=${1:-}
keep=0
[[ "${2:-}" == --keep ]] && keep=1
case $release in
  12) codename=bookworm ;;
  13) codename=trixie ;;
  *) echo "usage: $0 12|13 [--keep]" >&2; exit 2 ;;
esac
[[ $(id -u) -eq 0 ]] || { echo "error: $0 needs root (mmdebstrap, chroot, mounts)" >&2; exit 2; }
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)

if ! command -v mmdebstrap >/dev/null; then
  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap
fi

# The mirrors this machine uses, from its deb822 or one-line sources; Debian's
# own where none is configured.
configured_uris() {
  { sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null
    sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null; } | tr ' ' '\n'
}
mirror=$(configured_uris | grep -E '/debian/?$' | head -n1 || true)
security=$(configured_uris | grep -E '/debian-security/?$' | head -n1 || true)
mirror=${mirror:-http://deb.debian.org/debian}
security=${security:-http://deb.debian.org/debian-security}

root=$(mktemp -d /var/tmp/veldialogs-debian$release.XXXXXX)
mounts=()
cleanup() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -l "${mounts[i]}" 2>/dev/null || true
  done
  # Only once nothing is mounted below it may the root go.
  if [[ $keep -eq 0 ]] && ! grep -q " $root/" /proc/mounts; then
    rm -rf --one-file-system "$root"
  elif [[ $keep -eq 1 ]]; then
    echo "kept: $root"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "== making a fresh Debian $release ($codename) root in $root from $mirror"
mmdebstrap --variant=apt --include=git,make,ca-certificates "$codename" "$root" \
  "deb $mirror $codename main" "deb $mirror $codename-updates main" \
  "deb $security $codename-security main"

mount_in() {  # mount_in TARGET MOUNT-ARGS...
  local target="$root$1"; shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys --rbind /sys
mount --make-rslave "$root/sys"
mount_in /dev --rbind /dev
mount --make-rslave "$root/dev"
mount_in /tmp -t tmpfs tmpfs
mount_in /dev/shm -t tmpfs tmpfs
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

git clone --quiet --no-local "$repo" "$root/root/VelDialogs"
echo "== cloned $(git -C "$root/root/VelDialogs" log -1 --format='%h %s')"

run_step() {  # run_step TARGET: make TARGET in the root with an empty environment
  local start=$SECONDS status=0
  env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    chroot "$root" sh -c "cd /root/VelDialogs && make $1" </dev/null > "$root/root/make-$1.log" 2>&1 ||
    status=$?
  local took=$((SECONDS - start))
  results+=("make $1: $([[ $status -eq 0 ]] && echo passed || echo "FAILED (exit $status)") in $((took / 60)) min $((took % 60)) s")
  echo "== ${results[-1]}; the last lines of its output:"
  tail -n 15 "$root/root/make-$1.log"
  [[ $keep -eq 1 ]] || cp "$root/root/make-$1.log" "/var/tmp/fresh-debian$release-make-$1.log"
  return $status
}
results=()
overall=0
run_step demo || overall=1
run_step test || overall=1
echo "== Debian $release ($codename), fresh root, empty environment:"
printf '   %s\n' "${results[@]}"
[[ $keep -eq 1 ]] || echo "   logs: /var/tmp/fresh-debian$release-make-{demo,test}.log"
exit $overall
