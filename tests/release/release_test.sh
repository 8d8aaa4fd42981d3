#!/usr/bin/env bash
# The release build is reproducible and its signature verifies: two builds in different folders
# give the same bytes, the second also signed with a throwaway certificate made here; each
# signature verifies, and the signed file without its signature is the unsigned build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Veltrane test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
bash "$root/scripts/release.sh" "$work/one" >/dev/null
bash "$root/scripts/release.sh" --cert "$work/cert.pem" --key "$work/key.pem" "$work/b/two" >/dev/null
(cd "$work/one" && sha256sum --check --quiet SHA256SUMS)
cmp "$work/one/SHA256SUMS" "$work/b/two/SHA256SUMS"
for arch in x86_64 i686; do
    signed="$work/b/two/signed/$arch/unins000.exe"
    osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >/dev/null
    osslsigncode remove-signature -in "$signed" -out "$work/$arch.exe" >/dev/null
    cmp "$work/$arch.exe" "$work/one/$arch/unins000.exe"
done
echo "release: two builds identical, both signatures verified"
