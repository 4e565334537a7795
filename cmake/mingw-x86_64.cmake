# Cross-compiling the Windows side for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-win32). The product is the 32-bit build; this one only lets
# bench/wine/install_time.sh time the same code under Wine where this host runs it
# natively (it emulates i386). The win32-threads variant keeps winpthread out of the
# static runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORQ_MINGW_PREFIX x86_64-w64-mingw32)
find_program(VORQ_MINGW_CXX NAMES ${VORQ_MINGW_PREFIX}-g++-win32 ${VORQ_MINGW_PREFIX}-g++)
find_program(VORQ_MINGW_CC NAMES ${VORQ_MINGW_PREFIX}-gcc-win32 ${VORQ_MINGW_PREFIX}-gcc)
find_program(VORQ_MINGW_WINDRES NAMES ${VORQ_MINGW_PREFIX}-windres)
if(NOT VORQ_MINGW_CXX OR NOT VORQ_MINGW_CC OR NOT VORQ_MINGW_WINDRES)
  message(FATAL_ERROR "The MinGW-w64 x86_64 compiler or windres is missing; "
                      "apt-get install g++-mingw-w64-x86-64-win32 (not in scripts/install-deps.sh).")
endif()

set(CMAKE_C_COMPILER ${VORQ_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VORQ_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VORQ_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${VORQ_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
