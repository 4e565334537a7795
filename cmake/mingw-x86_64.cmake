# Cross-compiling the Windows side for 64-bit Windows with Debian's MinGW-w64. The product
# is the 32-bit build; this one only lets bench/wine/install_time.sh time the same code
# under Wine where this host runs it natively (it emulates i386).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORQ_MINGW_PREFIX x86_64-w64-mingw32)
set(VORQ_MINGW_PACKAGE "apt-get install g++-mingw-w64-x86-64-win32 (not in scripts/install-deps.sh)")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
