#!/usr/bin/env bash
# Wall time of a complete GUI install of the installer's image under Wine, next to its
# floor: one 25 ms wait after each slice that asks for another (the slices that return 3,
# counted by running the pump) plus the decoding, both measured here under the same Wine
# (tests/wine/programs/install_timing_bench.cpp). Measures the build's installer and, where
# the build made it, the real-scale one (BUILD/win-scale); each install is compared with
# the folder its payload was packed from.
#
#   bench/wine/install_time.sh BUILD [RUNS]
#
# BUILD is a configured and built tree with the Windows build (BUILD/win); RUNS installs
# (default 5) without the program group, timed by the driver from the press of Install to
# the finish page (it looks at the page's first control every 2 ms), then one with the
# group. Prints every run and the medians; needs Wine, Xvfb and ImageMagick
# (scripts/install-deps.sh).
#
# Where this host cannot run i386 code, Wine runs the 32-bit programs through qemu. For a
# comparison without the emulator, build the same sources for x86-64 and run them in a
# 64-bit prefix (apt-get install g++-mingw-w64-x86-64-win32):
#   cmake -S win -B B64/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-x86_64.cmake \
#     -DVORQ_PAYLOAD_FILE=$PWD/build/payload/payload.bin \
#     -DVORQ_CHECKSUM_HEADER=$PWD/build/generated/payload_checksum.h \
#     -DVORQ_PACKED_DIR=$PWD/build/sample-staged \
#     -DVORQ_PACK_EXE=$PWD/build/builder/vorq-pack && cmake --build B64/win
#   VORQ_WINEARCH=win64 bench/wine/install_time.sh B64
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: install_time.sh BUILD [RUNS]}" && pwd)
export BENCH_RUNS=${2:-5}
[ -f "$build/win/vorq-setup.exe" ] && [ -f "$build/win/programs/install_timing_bench.exe" ] || {
  echo "install_time.sh: $build/win has no installer or bench program; build it first" >&2
  exit 2
}
export VORQ_WIN_DIR=$build/win VORQ_SOURCE_DIR=$root
work=$build/wine-bench
harness=$root/tests/wine/harness.sh
bash "$harness" setup "$work" >"$work.setup.log" 2>&1 || {
  cat "$work.setup.log"
  exit 1
}
status=0
for installer in "$build/win" "$build/win-scale"; do
  [ -f "$installer/vorq-setup.exe" ] || continue
  log=$work-$(basename "$installer").log
  echo "== $installer/vorq-setup.exe (packed from $(cat "$installer/packed-dir.txt"))"
  BENCH_INSTALLER_DIR=$installer bash "$harness" run "$work" "$here/install_time_scenario.sh" \
    >"$log" 2>&1 || status=$?
  grep -E '^(bench|image|waits|decoding|whole|floor)' "$log" || true
  [ "$status" -eq 0 ] || {
    echo "install_time.sh: the scenario failed; see $log" >&2
    break
  }
done
bash "$harness" cleanup "$work" >/dev/null 2>&1 || true
exit "$status"
