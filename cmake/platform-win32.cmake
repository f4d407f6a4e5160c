# Libraries of the Windows platform: the console, GDI and CNG (bcrypt) from the system,
# DDS built from Debian's source by tools/build-windows.sh. Everything is
# linked statically, so kelmo.exe runs without any DLL of ours.
set(KELMO_DDS_ROOT "" CACHE PATH "DDS built for Windows (include/dds/dll.h, lib/libdds.a)")
if(NOT EXISTS "${KELMO_DDS_ROOT}/lib/libdds.a")
  message(FATAL_ERROR "KELMO_DDS_ROOT must hold a Windows build of DDS (tools/build-windows.sh makes one)")
endif()
enable_language(RC)

add_library(kelmo_platform_libs INTERFACE)
target_include_directories(kelmo_platform_libs INTERFACE ${KELMO_DDS_ROOT}/include)
target_link_libraries(kelmo_platform_libs INTERFACE ${KELMO_DDS_ROOT}/lib/libdds.a
  winmm gdi32 winspool bcrypt)
target_link_options(kelmo_platform_libs INTERFACE -static $<$<CONFIG:Release>:-s>)
# The lean Windows headers, without the min and max macros, as of Windows 10.
target_compile_definitions(kelmo_platform_libs INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00)

# The sounds, the version and the icon as resources of the program (and of
# the test program, which checks them).
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/kelmo.rc.in
  ${CMAKE_CURRENT_BINARY_DIR}/generated/kelmo.rc @ONLY)
# The installer takes the icon too, and a side picture for its first and
# last pages.
set(KELMO_ICON ${CMAKE_CURRENT_BINARY_DIR}/resources/kelmo.ico)
set(KELMO_WIZARD_BITMAP ${CMAKE_CURRENT_BINARY_DIR}/resources/kelmo-wizard.bmp)
add_custom_command(
  OUTPUT ${KELMO_ICON} ${KELMO_WIZARD_BITMAP}
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/tools/make_icon.py ${KELMO_ICON} ${KELMO_WIZARD_BITMAP}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Generating the icon"
  VERBATIM)
add_library(kelmo_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/generated/kelmo.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/generated/kelmo.rc PROPERTIES
  OBJECT_DEPENDS "${KELMO_ICON};${CMAKE_CURRENT_BINARY_DIR}/generated/sounds_data.h")
