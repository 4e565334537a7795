#!/usr/bin/env bash
# Wall time of a headless install against the decoding of the same streams with
# `vorq-pack expand`, for the build's installer and, where the build made it, the
# real-scale one. The streams are cut out of the payload the installer carries; each
# figure is the median of RUNS runs (default 9) after one untimed run.
#
#   bench/headless_install_time.sh BUILD [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: headless_install_time.sh BUILD [RUNS]}" && pwd)
runs=${2:-9}
pack=$build/builder/vorq-pack
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# The eleven stored streams of PAYLOAD, as files s00 ... s10 in DIR.
cut_streams() {
  perl -e '
    local $/;
    open my $in, "<:raw", $ARGV[0] or die "cannot read $ARGV[0]\n";
    my @pieces = split /\Q@{[join "", "Z", "EKL"]}\E/, <$in>, -1;
    die "not eleven streams\n" unless @pieces == 14;
    for my $k (0 .. 10) {
      open my $out, ">:raw", sprintf("%s/s%02d", $ARGV[1], $k) or die;
      print $out $pieces[$k + 1];
      close $out or die;
    }' "$1" "$2"
}

measure() {
  local label=$1 setup=$2 payload=$3 dir=$work/$1 run t install=() expand=() first=()
  mkdir -p "$dir/streams"
  cut_streams "$payload" "$dir/streams"
  for ((run = 0; run <= runs; ++run)); do
    rm -rf "$dir/dest"
    t=$(now_ms)
    "$setup" --dest "$dir/dest" >/dev/null
    [ "$run" -gt 0 ] && install+=($(($(now_ms) - t)))
    t=$(now_ms)
    for stream in "$dir"/streams/s*; do
      "$pack" expand "$stream" "$dir/out" >/dev/null
    done
    [ "$run" -gt 0 ] && expand+=($(($(now_ms) - t)))
    t=$(now_ms)
    "$pack" expand "$dir/streams/s00" "$dir/out" >/dev/null
    [ "$run" -gt 0 ] && first+=($(($(now_ms) - t)))
  done
  local i e f
  i=$(printf '%s\n' "${install[@]}" | median)
  e=$(printf '%s\n' "${expand[@]}" | median)
  f=$(printf '%s\n' "${first[@]}" | median)
  printf '%-10s payload %7d B: headless install %4d ms; vorq-pack expand of its 11 streams %4d ms' \
    "$label" "$(stat -c %s "$payload")" "$i" "$e"
  printf ' (ratio %.2f), of stream 0 alone %4d ms\n' "$(awk -v a="$i" -v b="$e" 'BEGIN {print a / b}')" "$f"
}

measure sample "$build/headless/vorq-setup" "$build/payload/payload.bin"
if [ -x "$build/headless/vorq-setup-scale" ]; then
  measure real-scale "$build/headless/vorq-setup-scale" "$build/payload-scale/payload.bin"
fi
