# Cross-compiling for 32-bit Windows with Debian's MinGW-w64. The win32-threads variant
# keeps winpthread out of the static runtime, so the exe needs only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VORQ_MINGW_PREFIX i686-w64-mingw32)
find_program(VORQ_MINGW_CXX NAMES ${VORQ_MINGW_PREFIX}-g++-win32 ${VORQ_MINGW_PREFIX}-g++)
find_program(VORQ_MINGW_CC NAMES ${VORQ_MINGW_PREFIX}-gcc-win32 ${VORQ_MINGW_PREFIX}-gcc)
find_program(VORQ_MINGW_WINDRES NAMES ${VORQ_MINGW_PREFIX}-windres)
if(NOT VORQ_MINGW_CXX OR NOT VORQ_MINGW_CC OR NOT VORQ_MINGW_WINDRES)
  message(FATAL_ERROR "The MinGW-w64 i686 compiler or windres is missing; "
                      "run scripts/install-deps.sh (package g++-mingw-w64-i686).")
endif()

set(CMAKE_C_COMPILER ${VORQ_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VORQ_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VORQ_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${VORQ_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
