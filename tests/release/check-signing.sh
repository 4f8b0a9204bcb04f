#!/usr/bin/env bash
# Usage: tests/release/check-signing.sh WIN32_BUILD_DIR WIN64_BUILD_DIR WORK_DIR
# A release signed with a throwaway certificate: make dist unsigned, signed,
# and unsigned again. Each signed DLL, host and runner verifies with
# osslsigncode against the certificate, the unsigned ones do not, the
# signed package's checksums match its signed files, the two unsigned
# packages are the same byte for byte, and the signed DLL's spine test
# passes in each Wine lane that runs (through tools/lane-run.sh). The key
# lives in a temporary folder outside the build and is removed; no file of
# the work folder may hold it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win32=$(realpath "$1") win64=$(realpath "$2") work=$(realpath -m "$3")
keys=$(mktemp -d "${TMPDIR:-/tmp}/vel-signing.XXXXXX")
trap 'rm -rf "$keys"' EXIT
rm -rf "$work" && mkdir -p "$work"
faults=0
fault() { echo "check-signing: $*"; faults=1; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 2 \
  -subj "/CN=VelDialogs throwaway test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
unsigned() { env -u VEL_SIGN_CERT -u VEL_SIGN_KEY -u VEL_SIGN_TIMESTAMP "$root/tools/dist.sh" "$win32" "$win64" "$1" >/dev/null; }
unsigned "$work/unsigned"
VEL_SIGN_CERT="$keys/cert.pem" VEL_SIGN_KEY="$keys/key.pem" "$root/tools/dist.sh" "$win32" "$win64" "$work/signed" | grep '^signed' | wc -l | sed 's/^/files signed: /'
unsigned "$work/again"
if env -u VEL_SIGN_KEY VEL_SIGN_CERT="$keys/cert.pem" "$root/tools/dist.sh" "$win32" "$win64" "$work/half" >/dev/null 2>&1; then
  fault "make dist went on with a certificate and no key"
fi

for zip in "$work"/unsigned/*.zip; do
  cmp -s "$zip" "$work/again/$(basename "$zip")" || fault "two unsigned packages differ: $(basename "$zip")"
done

version=$("$root/tools/version.sh")
for kind in signed unsigned; do
  mkdir "$work/$kind/unpacked"
  for zip in "$work/$kind"/*.zip; do (cd "$work/$kind/unpacked" && unzip -q "$zip"); done
done
released=(VelDialogs-$version/{,x64/}{VelDialogs.dll,VelHost.exe}
          VelDialogs-$version-selftest/{VelSelfTest.exe,VelSelfTest64.exe,win32/VelDialogs.dll,win64/VelDialogs.dll})
for file in "${released[@]}"; do
  osslsigncode verify -CAfile "$keys/cert.pem" -in "$work/signed/unpacked/$file" >/dev/null 2>&1 ||
    fault "$file: signed, it does not verify"
  osslsigncode verify -CAfile "$keys/cert.pem" -in "$work/unsigned/unpacked/$file" >/dev/null 2>&1 &&
    fault "$file: unsigned, it verifies"
done
(cd "$work/signed/unpacked/VelDialogs-$version" && sha256sum --quiet -c SHA256SUMS) ||
  fault "the signed package's SHA256SUMS does not match its files"

lanes_run=0
for lane in 32 64; do
  dll="$work/signed/unpacked/VelDialogs-$version/VelDialogs.dll"
  [[ $lane == 64 ]] && dll="$work/signed/unpacked/VelDialogs-$version/x64/VelDialogs.dll"
  build=$([[ $lane == 32 ]] && echo "$win32" || echo "$win64")
  mkdir "$work/spine$lane"
  cp "$dll" "$build/bin/spine_test.exe" "$work/spine$lane/"
  set +e
  "$root/tools/lane-run.sh" "$lane" "$build" "$root/tools/wine-test.sh" "$work/spine$lane/spine_test.exe" \
    > "$work/spine$lane/output" 2>&1
  status=$?
  set -e
  case $status in
    0) lanes_run=$((lanes_run + 1)); echo "the signed $lane-bit DLL passes spine_test" ;;
    77) echo "the $lane-bit lane does not run here" ;;
    *) cat "$work/spine$lane/output"; fault "spine_test failed with the signed $lane-bit DLL" ;;
  esac
done

grep -rlq -- "PRIVATE KEY" "$work" && fault "a private key was left in $work"
# The packages are kept only for a failure to be looked at.
[[ $faults -eq 0 ]] && rm -rf "$work"
[[ $faults -eq 0 && $lanes_run -eq 0 ]] && exit 77
exit $faults
