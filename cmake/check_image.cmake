# Runs `vorq-pack check` over a finished installer image with the payload it was built
# from and the checksum the installer was compiled with; writes STAMP (when given) only on
# success. With -DSIGNED=ON the image must also carry an Authenticode signature.
# Usage: cmake -DIMAGE=exe -DPAYLOAD=bin -DHEADER=payload_checksum.h -DPACK=vorq-pack
#              [-DSTAMP=file] [-DSIGNED=ON] -P check_image.cmake
cmake_minimum_required(VERSION 3.20)
foreach(input IMAGE PAYLOAD HEADER PACK)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "check_image.cmake needs -D${input}=...")
  endif()
endforeach()

file(STRINGS ${HEADER} crc_line REGEX "^#define VORQ_PAYLOAD_CRC ")
if(NOT crc_line MATCHES "VORQ_PAYLOAD_CRC +(0[xX][0-9a-fA-F]+|[0-9]+)[uU]?")
  message(FATAL_ERROR "${HEADER} defines no VORQ_PAYLOAD_CRC")
endif()
set(crc ${CMAKE_MATCH_1})
if(NOT crc MATCHES "^0[xX]")
  # vorq-pack reads the checksum in hexadecimal.
  math(EXPR crc "${crc}" OUTPUT_FORMAT HEXADECIMAL)
endif()

set(signed)
if(SIGNED)
  set(signed --signed)
endif()
execute_process(COMMAND ${PACK} check ${IMAGE} --payload ${PAYLOAD} --expect ${crc} ${signed}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "vorq-pack check rejected ${IMAGE} (expected checksum ${crc})")
endif()
if(DEFINED STAMP)
  file(TOUCH ${STAMP})
endif()
