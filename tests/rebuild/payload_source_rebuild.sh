#!/usr/bin/env bash
# A build from one's own folder of eleven files follows that folder: configures a tree
# with VORQ_PAYLOAD_SOURCE, builds it, changes one byte of one file and builds again, and
# checks that both installers (the Windows one and the headless one) then carry the new
# byte; a file taken away fails the build with its name, and put back, builds again.
#
#   payload_source_rebuild.sh SOURCE_DIR WORK FILES_DIR GENERATOR [WINDOWS_BUILD]
#
# FILES_DIR holds eleven files to start from (the sample the main build staged); WORK is
# made anew.
set -euo pipefail
source_dir=${1:?usage: payload_source_rebuild.sh SOURCE_DIR WORK FILES_DIR GENERATOR [ON|OFF]}
work=${2:?}
files=${3:?}
generator=${4:?}
windows=${5:-ON}

fail() {
  echo "FAIL: $*"
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
src="$work/my files"
cp -a "$files" "$src"
tree=$work/build

cmake -S "$source_dir" -B "$tree" -G "$generator" -DVORQ_PAYLOAD_SOURCE="$src" -DVORQ_TESTS=OFF \
  -DVORQ_WINDOWS_BUILD="$windows" >"$work/configure.log" 2>&1 ||
  fail "configure: $(tail -n 20 "$work/configure.log")"

build() {
  cmake --build "$tree" >"$work/build-$1.log" 2>&1
}

installers=("$tree/headless/vorq-setup")
[ "$windows" = ON ] && installers+=("$tree/win/vorq-setup.exe")

# Every installer carries exactly the eleven files of the folder as they are now.
check_carried() {
  local image out name
  for image in "${installers[@]}"; do
    out=$work/extracted-$1-$(basename "$image")
    rm -rf "$out"
    mkdir -p "$out"
    "$tree/builder/vorq-pack" check "$image" --extract "$out" >"$out.log" 2>&1 ||
      fail "vorq-pack check $image: $(cat "$out.log")"
    for name in "$src"/*; do
      cmp -s "$name" "$out/$(basename "$name")" ||
        fail "$image does not carry the folder's $(basename "$name") ($1)"
    done
  done
  echo "ok: ${#installers[@]} installers carry the folder's files ($1)"
}

build first || fail "the first build: $(tail -n 20 "$work/build-first.log")"
check_carried first

# One byte of a text in the middle of the payload.
printf 'Q' | dd of="$src/readme.txt" bs=1 seek=10 conv=notrunc status=none
build edited || fail "the build after the edit: $(tail -n 20 "$work/build-edited.log")"
grep -q 'Packing the payload' "$work/build-edited.log" || fail "the edit did not pack again"
check_carried edited

mv "$src/urls.ini" "$work/urls.ini.away"
if build removed; then
  fail "the build passed with urls.ini missing"
fi
grep -q 'urls.ini' "$work/build-removed.log" ||
  fail "the failed build does not name urls.ini: $(tail -n 20 "$work/build-removed.log")"
echo "ok: with urls.ini missing the build fails and names it"

mv "$work/urls.ini.away" "$src/urls.ini"
printf 'Z' | dd of="$src/urls.ini" bs=1 seek=3 conv=notrunc status=none
build restored || fail "the build with urls.ini back: $(tail -n 20 "$work/build-restored.log")"
check_carried restored
