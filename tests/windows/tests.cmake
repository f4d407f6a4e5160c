# The unit and scenario tests built for Windows, with GoogleTest built from
# Debian's sources. They run under wine from the Linux tree's ctest. Left
# out: tests of the POSIX platform itself (files, fonts, sounds), of the PDF printer and the font
# (cairo, fontconfig, freetype, poppler, fork).
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
list(FILTER KELMO_TEST_SOURCES EXCLUDE REGEX
  "/(test_platform_files|test_platform_fonts|test_platform_sounds|test_print_pdf|test_print_font)\\.cpp$")
add_executable(kelmo_tests ${KELMO_TEST_SOURCES} windows/test_windows_platform.cpp
  $<TARGET_OBJECTS:kelmo_resources>)
target_include_directories(kelmo_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
# setenv, unsetenv and mkdtemp for the tests, which use them freely.
target_compile_options(kelmo_tests PRIVATE -include ${CMAKE_CURRENT_SOURCE_DIR}/windows/posix_compat.h)
target_compile_definitions(kelmo_tests PRIVATE
  KELMO_SOURCE_DIR="${KELMO_TREE_DRIVE}${PROJECT_SOURCE_DIR}"
  KELMO_BUILD_DIR="${KELMO_TREE_DRIVE}${PROJECT_BINARY_DIR}")
target_link_libraries(kelmo_tests PRIVATE kelmo_lib gtest gtest_main gmock)
