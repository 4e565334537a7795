# Builds the installer a second time, in a folder of its own, from the same sources and
# payload, and compares the two images byte for byte.
# Usage: cmake -DSOURCE=win/ -DBINARY=folder -DFIRST=exe -DGENERATOR=... -DTOOLCHAIN=...
#              -DPAYLOAD=... -DHEADER=... -DPACK=... -P reproducible_check.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${BINARY})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR}
          -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
          -DVORQ_PAYLOAD_FILE=${PAYLOAD} -DVORQ_CHECKSUM_HEADER=${HEADER} -DVORQ_PACK_EXE=${PACK}
          -DVORQ_WINE_PROGRAMS=OFF
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the second build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target vorq-setup
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the second build failed")
endif()
file(SHA256 ${FIRST} first)
file(SHA256 ${BINARY}/vorq-setup.exe second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the two builds differ:\n  ${FIRST} ${first}\n  ${BINARY}/vorq-setup.exe ${second}")
endif()
file(REMOVE_RECURSE ${BINARY})
message(STATUS "identical images, sha256 ${first}")
