# Hardening checks, each a CTest test: the soak of the engine, the fuzz targets (built with
# clang in a project of their own) run for a bounded time over their corpora, and the
# static checks of the core. Included by the root CMakeLists.txt after the tests.

add_subdirectory(${CMAKE_SOURCE_DIR}/tests/soak ${CMAKE_BINARY_DIR}/tests/soak)

# The static checks read the core's compile commands from this build.
foreach(core_target vorq_payload vorq_targets vorq_expected_crc vorq_engine
                    vorq_quiet_front_end vorq_headless vorq-setup)
  if(TARGET ${core_target})
    set_target_properties(${core_target} PROPERTIES EXPORT_COMPILE_COMMANDS ON)
  endif()
endforeach()

# The sanitizer suite configures this project a second time; the soak runs there again,
# the fuzz targets (sanitized already) and the static checks once are enough.
if(NOT VORQ_SANITIZE)
  set(VORQ_FUZZ_SECONDS 30 CACHE STRING "Seconds CTest runs each fuzz target")
  find_program(VORQ_CLANGXX NAMES clang++ clang++-14)
  if(NOT VORQ_CLANGXX)
    message(FATAL_ERROR "The fuzz targets need clang++ and libFuzzer (Debian packages clang "
                        "and libclang-rt-14-dev); run scripts/install-deps.sh")
  endif()

  include(ExternalProject)
  set(fuzz_targets expand payload_scan install)
  set(fuzz_binaries)
  foreach(target ${fuzz_targets})
    list(APPEND fuzz_binaries ${CMAKE_BINARY_DIR}/fuzz/fuzz_${target})
  endforeach()
  ExternalProject_Add(vorq_fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VORQ_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${fuzz_binaries})

  foreach(target ${fuzz_targets})
    add_test(NAME fuzz_${target}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/fuzz/run-bounded.sh
                     ${CMAKE_BINARY_DIR}/fuzz/fuzz_${target}
                     ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${target}
                     ${CMAKE_BINARY_DIR}/fuzz-runs/${target} ${VORQ_FUZZ_SECONDS})
    set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT 300)
  endforeach()

  add_test(NAME static_checks
           COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/static-checks.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(static_checks PROPERTIES TIMEOUT 900)
endif()
