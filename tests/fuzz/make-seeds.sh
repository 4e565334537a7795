#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets with the payload builder. Run by hand when
# the stream format or the fuzz input layout changes; the corpora are committed.
#   tests/fuzz/make-seeds.sh BUILD_DIR/builder/vorq-pack
set -euo pipefail
pack=${1:?usage: make-seeds.sh PATH/TO/vorq-pack}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C
# The marker is put together here, so that no file of the tree holds it whole.
m=Z
m=${m}EKL

# Deterministic bytes: a linear congruential sequence, so the seeds do not change from one
# run to the next.
lcg_bytes() {
  awk -v n="$1" -v s="$2" 'BEGIN { for (i = 0; i < n; i++) { s = (s * 1103515245 + 12345) % 2147483648; printf "%c", int(s / 65536) % 256 } }'
}

# Seeds are written by name; inputs added to the corpora by hand (those that found a
# fault) stay.
mkdir -p "$corpus/expand" "$corpus/payload_scan" "$corpus/install" "$work/files"

# --- ExpandStream: stored streams of small inputs of every kind, and broken ones.
printf 'x' >"$work/one"
head -c 300 /dev/zero | tr '\0' 'a' >"$work/run"
head -c 120 /dev/zero | tr '\0' ' ' >"$work/spaces"
awk 'BEGIN { for (i = 0; i < 256; i++) printf "%c", i; for (i = 255; i >= 0; i--) printf "%c", i }' >"$work/bytes"
head -c 2000 "$here/../../sample/readme.txt" >"$work/text"
lcg_bytes 40000 7 >"$work/noise" # more symbols than the first tree rebuild needs
for name in one run spaces bytes text noise; do
  "$pack" compress "$work/$name" "$corpus/expand/$name" >/dev/null
done
: >"$corpus/expand/empty"
printf '\x05\x00' >"$corpus/expand/short-size"
printf '\x00\x00\x00\x00\xff\xff' >"$corpus/expand/size-zero"
printf '\x10\x00\x00\x00' >"$corpus/expand/size-only"

# --- A small payload: eleven one-line files.
for name in vorq32.exe vlink32.exe vorq.hlp ircintro.hlp readme.txt versions.txt \
  vorq.ini aliases.ini popups.ini servers.ini urls.ini; do
  printf 'content of %s for the fuzz seeds\n' "$name" >"$work/files/$name"
done
"$pack" build "$work/files" -o "$work/payload" >/dev/null
payload=$work/payload
size=$(stat -c %s "$payload")

# --- Marker scan and checksum: the payload in various images.
cp "$payload" "$corpus/payload_scan/payload"
{ head -c 1022 /dev/zero; cat "$payload"; } >"$corpus/payload_scan/across-block"
{ printf 'MZ header %s %s %s' "${m:0:1}" "${m:0:2}" "${m:0:3}"; cat "$payload"; printf 'trailing %s bytes' "$m"; } \
  >"$corpus/payload_scan/framed"
head -c $((size / 2)) "$payload" >"$corpus/payload_scan/truncated"
# The image ends inside the last stream, with two marker bytes held.
{ head -c $((size - 13)) "$payload"; printf '%s' "${m:0:2}"; } >"$corpus/payload_scan/partial-end"
printf 'no marker at all' >"$corpus/payload_scan/no-marker"
printf '%s%s\r\n' "$m" "$m" >"$corpus/payload_scan/double-only"
printf 'xx%sab%s%scd%s%sef%s%s' "$m" "${m:0:1}" "$m" "${m:0:3}" "$m" "$m" "$m" >"$corpus/payload_scan/missed-after-partial"

# --- Whole install: five configuration bytes (see fuzz_install.cpp), then the image.
seed() { # name, five bytes as \x escapes, image file
  { printf "$2"; cat "$3"; } >"$corpus/install/$1"
}
seed fresh '\x00\x00\x00\x00\x00' "$payload"
seed over-kept '\x07\xff\x07\x00\x00' "$payload"
seed over-replaced '\xc5\xff\x0f\x00\x00' "$payload"
seed wrong-crc '\x08\x00\x00\x00\x00' "$payload"
seed abort-first-slice '\x11\x00\x00\x00\xfa' "$payload"
seed abort-mid-run '\x15\x3f\x07\x00\xf5' "$payload"
seed sliced '\x05\x3c\x00\x00\xf9' "$payload"
seed truncated '\x04\x00\x00\x00\x00' "$corpus/payload_scan/partial-end"
seed framed '\x00\x00\x00\x00\x00' "$corpus/payload_scan/framed"
for kind in 1 2 3 4 5 6; do
  seed "hostile-$kind" "\\x05\\xff\\x$((kind))7\\x0$kind\\x00" "$payload"
done
echo "seeds written to $corpus"
