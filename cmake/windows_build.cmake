# Drives the Windows side of the build (win/) from the native configure: one build gives
# the native programs and the 32-bit installer. The sub-build runs after vorq-pack, the
# payload and its checksum header exist, and always, so that its own dependency scan
# picks up every change of the sources it shares with the native build.
include_guard(GLOBAL)

if(NOT VORQ_WINDOWS_BUILD)
  return()
endif()

find_program(VORQ_MINGW_CXX_CHECK NAMES i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++
             NO_CMAKE_FIND_ROOT_PATH)
find_program(VORQ_MINGW_WINDRES_CHECK NAMES i686-w64-mingw32-windres NO_CMAKE_FIND_ROOT_PATH)
if(NOT VORQ_MINGW_CXX_CHECK OR NOT VORQ_MINGW_WINDRES_CHECK)
  message(FATAL_ERROR
    "The Windows installer needs the MinGW-w64 i686 toolchain (i686-w64-mingw32-g++ and "
    "i686-w64-mingw32-windres, Debian package g++-mingw-w64-i686); run "
    "scripts/install-deps.sh, or configure with -DVORQ_WINDOWS_BUILD=OFF.")
endif()

# Signing the installer (see win/CMakeLists.txt): both given, or neither.
set(VORQ_SIGN_CERT "" CACHE FILEPATH "Certificate (PEM, with its chain) to sign the installer with")
set(VORQ_SIGN_KEY "" CACHE FILEPATH "Private key of VORQ_SIGN_CERT")

# Where the Windows build puts what others use.
set(VORQ_WIN_BINARY_DIR ${CMAKE_BINARY_DIR}/win)
set(VORQ_WIN_SETUP_EXE ${VORQ_WIN_BINARY_DIR}/vorq-setup.exe)
set(VORQ_WIN_DRIVER_EXE ${VORQ_WIN_BINARY_DIR}/driver/vorq-driver.exe)
set(VORQ_WIN_PROGRAMS_DIR ${VORQ_WIN_BINARY_DIR}/programs)

include(ExternalProject)
# vorq_add_windows_installer(NAME BINARY_DIR PAYLOAD HEADER PAYLOAD_TARGET PACKED_DIR PROGRAMS)
# One build of win/ for one payload; PROGRAMS ON also builds the driver and the test
# programs. The build folder records PACKED_DIR, the folder the payload was made from, for
# the tests and benchmarks that compare what an install wrote with it.
function(vorq_add_windows_installer name binary_dir payload header payload_target packed_dir
         programs)
  ExternalProject_Add(${name}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/win
    BINARY_DIR ${binary_dir}
    PREFIX ${CMAKE_BINARY_DIR}/${name}-prefix
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DVORQ_PAYLOAD_FILE=${payload}
      -DVORQ_CHECKSUM_HEADER=${header}
      -DVORQ_PACKED_DIR=${packed_dir}
      -DVORQ_PACK_EXE=$<TARGET_FILE:vorq-pack>
      -DVORQ_WINE_PROGRAMS=${programs}
      -DVORQ_SIGN_CERT=${VORQ_SIGN_CERT}
      -DVORQ_SIGN_KEY=${VORQ_SIGN_KEY}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${binary_dir}/vorq-setup.exe
    DEPENDS vorq-pack ${payload_target})
endfunction()

vorq_add_windows_installer(vorq_windows ${VORQ_WIN_BINARY_DIR} ${VORQ_PAYLOAD_FILE}
                           ${VORQ_CHECKSUM_HEADER} vorq_payload_image ${VORQ_PAYLOAD_DIR}
                           ${VORQ_TESTS})
# The tests' real-scale installer.
if(VORQ_SCALE_PAYLOAD_FILE)
  set(VORQ_WIN_SCALE_DIR ${CMAKE_BINARY_DIR}/win-scale)
  vorq_add_windows_installer(vorq_windows_scale ${VORQ_WIN_SCALE_DIR} ${VORQ_SCALE_PAYLOAD_FILE}
                             ${VORQ_SCALE_CHECKSUM_HEADER} vorq_scale_payload_image
                             ${VORQ_SCALE_DIR} OFF)
endif()
