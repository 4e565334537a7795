#!/usr/bin/env bash
# Static checks of the installer's core (payload/, engine/) and of the headless front end:
# clang-tidy with the root .clang-tidy, cppcheck, and a search for the unbounded string
# functions. Any finding fails.
#   scripts/static-checks.sh [BUILD_DIR]
# BUILD_DIR is a configured native build whose compile_commands.json lists the core (the
# build exports it for the core's targets; default: build).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
db=$build/compile_commands.json
if [ ! -f "$db" ]; then
  echo "static-checks: $db is missing; configure the build first" >&2
  exit 1
fi
cd "$root"
failed=0

# The native sources the build compiles; the Win32 file operations are checked apart.
mapfile -t native < <(ls payload/*.cpp engine/*.cpp headless/*.cpp | grep -v '_win32\.cpp$')
win32=(engine/platform_files_win32.cpp)

echo "== clang-tidy: ${#native[@]} files"
if ! clang-tidy -p "$build" --quiet "${native[@]}" 2>/dev/null; then
  failed=1
fi

# The Win32 file operations, against the MinGW headers when they are installed.
if [ -f "${win32[0]}" ] && command -v i686-w64-mingw32-g++ >/dev/null; then
  mingw_includes=()
  while read -r dir; do
    mingw_includes+=(-isystem "$dir")
  done < <(echo | i686-w64-mingw32-g++ -x c++ -E -v - 2>&1 |
    sed -n '/^#include <...> search starts here:/,/^End of search list./p' | sed -n 's/^ //p')
  echo "== clang-tidy: ${win32[*]} for i686-w64-mingw32"
  if ! clang-tidy --quiet "${win32[@]}" -- --target=i686-w64-mingw32 -std=c++17 -I"$root" \
    -nostdinc++ "${mingw_includes[@]}" 2>/dev/null; then
    failed=1
  fi
fi

# cppcheck reads each file with the build's own flags. RefillBits shifts by 8 - bitLen
# inside a loop that runs only while bitLen <= 8; cppcheck does not follow the loop's
# condition there and takes the shift for negative.
echo "== cppcheck"
cppcheck_flags=(--enable=warning,style,performance,portability --std=c++17 --inline-suppr --quiet
  --error-exitcode=1 --suppress=missingIncludeSystem --suppress="shiftNegative:$root/payload/expand.cpp"
  --template='{file}:{line}: {severity}: {message} [{id}]')
if ! cppcheck "${cppcheck_flags[@]}" --project="$db" --file-filter="$root/payload/*" \
  --file-filter="$root/engine/*" --file-filter="$root/headless/*"; then
  failed=1
fi
if [ -f "${win32[0]}" ] &&
  ! cppcheck "${cppcheck_flags[@]}" --suppress=missingInclude -D_WIN32 -I"$root" "${win32[@]}"; then
  failed=1
fi

echo "== unbounded string functions"
if grep -nE '\b(strcpy|strcat|sprintf|vsprintf|gets|lstrcpyA?|lstrcatA?|wsprintfA?)[[:space:]]*\(' \
  payload/* engine/* headless/*; then
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  echo "static-checks: findings above"
  exit 1
fi
echo "static-checks: clean"
