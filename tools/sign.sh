#!/usr/bin/env bash
# Usage: tools/sign.sh FILE...   (tools/dist.sh and tools/selftest-pack.sh)
# Signs each Windows program or DLL in place with osslsigncode (SHA-256),
# with the PEM certificate chain VEL_SIGN_CERT and the PEM private key
# VEL_SIGN_KEY; VEL_SIGN_TIMESTAMP=URL adds an RFC 3161 timestamp from that
# server. Without both variables it does nothing, so an unsigned package is
# exactly as before; with only one of them it fails rather than release
# unsigned files by mistake. The key is only read, never copied or printed.
set -euo pipefail
cert=${VEL_SIGN_CERT:-} key=${VEL_SIGN_KEY:-}
[[ -z "$cert" && -z "$key" ]] && exit 0
if [[ -z "$cert" || -z "$key" ]]; then
  echo "sign: set both VEL_SIGN_CERT and VEL_SIGN_KEY (or neither, for an unsigned package)" >&2
  exit 1
fi
timestamp=()
[[ -n "${VEL_SIGN_TIMESTAMP:-}" ]] && timestamp=(-ts "$VEL_SIGN_TIMESTAMP")
for file in "$@"; do
  osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n VelDialogs "${timestamp[@]}" \
    -in "$file" -out "$file.signed" >/dev/null || { rm -f "$file.signed"; echo "sign: $file failed" >&2; exit 1; }
  mv "$file.signed" "$file"
  echo "signed: $file"
done
