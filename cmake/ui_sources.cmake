# Sources of the wizard front end and the desktop integration.
# The window-free decisions, built natively (library vorq_ui_logic, tested there) and for
# Windows.
set(VORQ_UI_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/bar_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/folder_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/window_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/version_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/post_install_plan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/page_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../desktop/progman_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../desktop/file_type_keys.cpp)

# The Win32 glue of progress drawing, folder choice and desktop integration; Windows only.
# The main window (with WinMain) and the wizard dialog are not among them: they belong to
# the installer executable alone, so test programs can link everything here.
set(VORQ_UI_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/app_handles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/front_end_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/progress_bars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../wizard/folder_chooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../desktop/progman.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../desktop/file_types.cpp)

# System libraries the Win32 glue imports from.
set(VORQ_UI_WIN32_LIBRARIES comdlg32 gdi32 user32 advapi32)
