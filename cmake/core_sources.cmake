# Sources of the portable core, shared by the native build and the Windows build.
set(VORQ_PAYLOAD_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../payload/marker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../payload/payload_crc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../payload/huffman_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../payload/expand.cpp)

# Everything of the engine but the platform file operations, which each platform adds.
set(VORQ_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../engine/install_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/platform_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/path_parts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/file_policy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/extraction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/temp_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/status_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../engine/overall_progress.cpp)
set(VORQ_ENGINE_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../engine/platform_files_posix.cpp)
set(VORQ_ENGINE_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../engine/platform_files_win32.cpp)

# The table of target names, shared with the payload builder.
set(VORQ_TARGET_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../engine/target_files.cpp)
# The checksum the installer expects; compiled against the header the builder generates.
set(VORQ_EXPECTED_CRC_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../engine/expected_crc.cpp)
