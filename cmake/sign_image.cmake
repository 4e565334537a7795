# Signs a finished installer image with osslsigncode (Authenticode, SHA-256), in place,
# after checking the unsigned image; the caller checks the signed one again.
# Usage: cmake -DIMAGE=exe -DCERT=certs.pem -DKEY=key.pem -DSIGNER=osslsigncode
#              -DPAYLOAD=bin -DHEADER=payload_checksum.h -DPACK=vorq-pack -P sign_image.cmake
cmake_minimum_required(VERSION 3.20)
foreach(input IMAGE CERT KEY SIGNER PAYLOAD HEADER PACK)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "sign_image.cmake needs -D${input}=...")
  endif()
endforeach()

# Only an image whose payload is sound is worth a signature.
execute_process(COMMAND ${CMAKE_COMMAND} -DIMAGE=${IMAGE} -DPAYLOAD=${PAYLOAD} -DHEADER=${HEADER}
                        -DPACK=${PACK} -P ${CMAKE_CURRENT_LIST_DIR}/check_image.cmake
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the unsigned ${IMAGE} failed its check; not signed")
endif()

set(signing ${IMAGE}.signing)
file(REMOVE ${signing})
execute_process(COMMAND ${SIGNER} sign -certs ${CERT} -key ${KEY} -h sha256 -n "Vorq Installer"
                        -in ${IMAGE} -out ${signing}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${signing})
  message(FATAL_ERROR "osslsigncode could not sign ${IMAGE} with ${CERT} and ${KEY}")
endif()
file(RENAME ${signing} ${IMAGE})
