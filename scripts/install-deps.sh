#!/usr/bin/env bash
# Brings every tool the project needs onto a Debian 12 machine. Safe to run again:
# apt-get skips what is already installed, and the update runs only when a
# package is missing.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  exec sudo -E bash "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive

native_packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  clang clang-format clang-tidy cppcheck libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  lhasa gzip time
)

missing=()
for p in "${native_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "install-deps: native tools present"
fi
