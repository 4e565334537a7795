# Cross-compiling for 32-bit Windows with Debian's MinGW-w64: the installer's build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VORQ_MINGW_PREFIX i686-w64-mingw32)
set(VORQ_MINGW_PACKAGE "run scripts/install-deps.sh (package g++-mingw-w64-i686)")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
