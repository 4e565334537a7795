#!/usr/bin/env bash
# Builds the installer signed, with a throwaway code-signing certificate made here by
# openssl (a CA of its own and a certificate it issued; neither leaves WORK), then:
# osslsigncode verifies the signature against that CA and rejects it against another
# CA, and rejects the unsigned image; vorq-pack check finds the signature and the payload
# intact in the signed image and no signature in the unsigned one. WORK/build/vorq-setup.exe
# stays for the Wine scenario signed_installer.
#
#   signed_check.sh WORK SOURCE GENERATOR TOOLCHAIN PAYLOAD HEADER PACK UNSIGNED_EXE
set -euo pipefail
work=$1 source=$2 generator=$3 toolchain=$4 payload=$5 header=$6 pack=$7 unsigned=$8

fail() {
  echo "FAIL: $*"
  exit 1
}
pass() { echo "ok: $*"; }

rm -rf "$work"
mkdir -p "$work/cert"
cert=$work/cert
crc=$(sed -n 's/^#define VORQ_PAYLOAD_CRC \(0x[0-9A-Fa-f]*\).*/\1/p' "$header")
[ -n "$crc" ] || fail "no checksum in $header"

# ca NAME: a self-signed CA.
make_ca() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vorq Throwaway $1" \
    -keyout "$cert/$1.key" -out "$cert/$1.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    2>/dev/null
}
make_ca ca
make_ca other-ca
openssl req -newkey rsa:2048 -nodes -subj "/CN=Vorq Throwaway Signer" \
  -keyout "$cert/signer.key" -out "$cert/signer.csr" 2>/dev/null
printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature \
  extendedKeyUsage=codeSigning >"$cert/signer.ext"
openssl x509 -req -in "$cert/signer.csr" -CA "$cert/ca.pem" -CAkey "$cert/ca.key" \
  -CAcreateserial -days 2 -extfile "$cert/signer.ext" -out "$cert/signer.pem" 2>/dev/null
# The chain the signature carries: the signer's certificate, then its CA's.
cat "$cert/signer.pem" "$cert/ca.pem" >"$cert/chain.pem"
pass "throwaway CA and code-signing certificate made"

cmake -S "$source" -B "$work/build" -G "$generator" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DVORQ_PAYLOAD_FILE="$payload" -DVORQ_CHECKSUM_HEADER="$header" \
  -DVORQ_PACK_EXE="$pack" -DVORQ_WINE_PROGRAMS=OFF -DVORQ_SIGN_CERT="$cert/chain.pem" \
  -DVORQ_SIGN_KEY="$cert/signer.key" >"$work/configure.log" || fail "configuring the signed build"
cmake --build "$work/build" >"$work/build.log" 2>&1 || {
  tail -n 30 "$work/build.log"
  fail "the signed build failed"
}
signed=$work/build/vorq-setup.exe
grep -q "^signature: Authenticode" "$work/build.log" || fail "the build did not check a signed image"
pass "the build signed the image and checked it again"

osslsigncode verify -CAfile "$cert/ca.pem" -in "$signed" >"$work/verify.log" 2>&1 || {
  cat "$work/verify.log"
  fail "osslsigncode verify rejects the signed image"
}
grep -q "Signature verification: ok" "$work/verify.log" || fail "no 'Signature verification: ok'"
pass "osslsigncode verify: the signature holds against the throwaway CA"
osslsigncode verify -CAfile "$cert/other-ca.pem" -in "$signed" >"$work/verify-other.log" 2>&1 &&
  fail "osslsigncode verify accepts the signature against an unrelated CA"
osslsigncode verify -CAfile "$cert/ca.pem" -in "$unsigned" >"$work/verify-unsigned.log" 2>&1 &&
  fail "osslsigncode verify accepts the unsigned image"
pass "osslsigncode verify rejects it against another CA, and rejects the unsigned image"

"$pack" check "$signed" --payload "$payload" --expect "$crc" --signed >"$work/check.log" ||
  fail "vorq-pack check rejects the signed image: $(cat "$work/check.log")"
grep -q "^signature: Authenticode" "$work/check.log" || fail "vorq-pack check sees no signature"
grep -q "payload intact" "$work/check.log" || fail "vorq-pack check did not check the payload"
"$pack" check "$unsigned" --payload "$payload" --expect "$crc" >"$work/check-unsigned.log" ||
  fail "vorq-pack check rejects the unsigned image"
grep -q "^signature: none" "$work/check-unsigned.log" || fail "a signature in the unsigned image?"
"$pack" check "$unsigned" --payload "$payload" --signed >/dev/null 2>&1 &&
  fail "vorq-pack check --signed accepts the unsigned image"
pass "vorq-pack check: signed image with its payload intact; the unsigned one carries none"
# The signature is appended to the image.
[ "$(stat -c %s "$signed")" -gt "$(stat -c %s "$unsigned")" ] || fail "the signed image is not larger"
rm -rf "$cert"
