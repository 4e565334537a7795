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
  osslsigncode openssl
)

missing=()
for p in "${native_packages[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  # With i386 enabled, an index that fails to download must not stop the install.
  apt-get update -q || echo "install-deps: apt-get update reported errors, going on"
  apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "install-deps: native tools present"
fi

# Wine for the end-to-end tests of the 32-bit installer. wine32:i386 needs the i386
# architecture, and the multi-arch libraries it pulls in must carry the same version on
# i386 and amd64. When the two indexes are out of step (a mirror caught mid-sync), the
# plain install fails on "held broken packages"; then every library named in the unmet
# dependencies is pinned on both architectures to a version both have (the i386
# candidate when amd64 has it too) until the dry run is clean. Nothing is ever removed.
# wine64 brings the native wineserver, which serves the 32-bit Wine processes too.
wine_packages=(wine wine32:i386 wine64 xvfb imagemagick)

# (No `grep -q` at the end of a pipe here: with pipefail, the writer it cuts short
# would turn a match into a failure.)
package_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

# Versions of a package on one architecture, highest first.
package_versions() {
  apt-cache madison "$1:$2" 2>/dev/null | awk -F'|' '{gsub(/ /, "", $2); print $2}'
}

# A version of the library that both architectures offer: the i386 candidate if amd64
# has it, otherwise the highest version they share. Empty when there is none.
common_version() {
  local lib=$1 candidate v amd64_versions
  candidate=$(apt-cache policy "$lib:i386" 2>/dev/null | awk '/Candidate:/ {print $2}')
  amd64_versions=$(package_versions "$lib" amd64)
  if [ -n "$candidate" ] && [ "$candidate" != "(none)" ] &&
    grep -qxF "$candidate" <<<"$amd64_versions"; then
    echo "$candidate"
    return
  fi
  for v in $(package_versions "$lib" i386); do
    if grep -qxF "$v" <<<"$amd64_versions"; then
      echo "$v"
      return
    fi
  done
}

# Package names (without architecture) on the unmet-dependency lines of a dry run.
unmet_packages() {
  awk '/unmet dependencies:/ {on = 1; next} on && /^E:/ {on = 0} on' |
    sed -E 's/ but .*$//; s/\([^)]*\)//g; s/[A-Z][A-Za-z-]*://g; s/ : / /g; s/\|/ /g' |
    tr -s ' \t' '\n' | sed -E 's/:[a-z0-9]+$//' | grep -E '^[a-z0-9][a-z0-9.+-]+$' | sort -u
}

# Only Multi-Arch: same packages must match across architectures.
multiarch_same() {
  local info
  info=$(apt-cache show "$1:i386" 2>/dev/null) || return 1
  grep -qx 'Multi-Arch: same' <<<"$info"
}

# 32-bit programs. Some x86-64 hosts (hypervisors without 32-bit user mode, kernels
# with ia32_emulation=0) cannot run i386 code although the kernel was built for it.
# There every i386 program is run through qemu's user-mode emulator, registered with
# binfmt_misc. The emulator must honour MAP_FIXED_NOREPLACE (qemu 8.1 and later, from
# bookworm-backports): without it Wine's address space reservation falls back to tens
# of thousands of probing mmap calls and every Wine process takes minutes to start.
qemu_binfmt=/proc/sys/fs/binfmt_misc/qemu-i386
qemu_interpreter=/usr/bin/qemu-i386
qemu_minimum=1:8.1

# A 96-byte static i386 program that exits with 42.
i386_probe_runs() {
  local probe
  probe=$(mktemp)
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
  printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
  printf '\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
  printf '\270\001\000\000\000\273\052\000\000\000\315\200' >>"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

qemu_current() {
  package_installed qemu-user-static &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user-static)" ge "$qemu_minimum"
}

ensure_i386_execution() {
  if [ -e "$qemu_binfmt" ] && grep -qx "interpreter $qemu_interpreter" "$qemu_binfmt" &&
    grep -qx enabled "$qemu_binfmt" && qemu_current && i386_probe_runs; then
    echo "install-deps: i386 programs run through qemu"
    return
  fi
  if [ ! -e "$qemu_binfmt" ] && i386_probe_runs; then
    echo "install-deps: i386 programs run natively"
    return
  fi
  echo "install-deps: this host cannot run i386 programs; setting up qemu-i386"
  if ! qemu_current; then
    local backports=/etc/apt/sources.list.d/debian-backports.sources
    if [ ! -e "$backports" ]; then
      printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
        'Suites: bookworm-backports' 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' >"$backports"
    fi
    apt-get update -q || echo "install-deps: apt-get update reported errors, going on"
    apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user-static
    qemu_current || {
      echo "install-deps: qemu-user-static $qemu_minimum or later is needed" >&2
      return 1
    }
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ -e "$qemu_binfmt" ]; then
    echo -1 >"$qemu_binfmt"
  fi
  # F: the kernel opens the emulator now, so it works in any mount namespace later.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff' \
    "\\xfe\\xff\\xff\\xff:$qemu_interpreter:F" >/proc/sys/fs/binfmt_misc/register
  i386_probe_runs || {
    echo "install-deps: i386 programs still do not run" >&2
    return 1
  }
  echo "install-deps: i386 programs run through qemu"
}

install_wine() {
  if ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    dpkg --add-architecture i386
  fi
  ensure_i386_execution

  local missing_wine=() p
  for p in "${wine_packages[@]}"; do
    package_installed "$p" || missing_wine+=("$p")
  done
  if [ "${#missing_wine[@]}" -eq 0 ]; then
    echo "install-deps: wine present"
    return
  fi
  # An index that fails to download is reported and ignored; the dry run below decides.
  apt-get update -q || echo "install-deps: apt-get update reported errors, going on"

  local pins=() pinned=" " round dry lib version extra=()
  for round in 1 2 3 4 5 6 7 8 9 10; do
    if dry=$(apt-get install -s -y -q --no-install-recommends --no-remove "${extra[@]}" \
      "${wine_packages[@]}" "${pins[@]}" 2>&1); then
      echo "install-deps: installing ${wine_packages[*]} ${pins[*]}"
      apt-get install -y -q --no-install-recommends --no-remove "${extra[@]}" \
        "${wine_packages[@]}" "${pins[@]}"
      return
    fi
    local added=0
    for lib in $(unmet_packages <<<"$dry"); do
      case "$pinned" in *" $lib "*) continue ;; esac
      multiarch_same "$lib" || continue
      version=$(common_version "$lib")
      [ -n "$version" ] || continue
      pins+=("$lib:i386=$version" "$lib:amd64=$version")
      pinned+="$lib "
      added=1
      echo "install-deps: round $round pins $lib to $version on i386 and amd64"
    done
    if [ "$added" -eq 0 ]; then
      echo "$dry" >&2
      echo "install-deps: cannot resolve the wine install" >&2
      return 1
    fi
    # A pinned version may be older than what is installed.
    extra=(--allow-downgrades)
  done
  echo "install-deps: the wine install did not settle after $round rounds" >&2
  return 1
}

install_wine
