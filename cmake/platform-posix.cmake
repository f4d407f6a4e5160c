# Libraries of the POSIX platform: ncursesw console, cairo PDF printing with
# fontconfig faces, CUPS hand-off, ALSA sound, libsodium, and Debian's DDS.
find_package(PkgConfig REQUIRED)
pkg_check_modules(NCURSESW REQUIRED IMPORTED_TARGET ncursesw)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-ft)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig freetype2)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
# Private deals: libsodium's randomness and HMAC-SHA-256.
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
find_library(DDS_LIBRARY dds REQUIRED)
# Debian ships no cups.pc.
find_library(CUPS_LIBRARY cups REQUIRED)

add_library(kelmo_platform_libs INTERFACE)
target_link_libraries(kelmo_platform_libs INTERFACE PkgConfig::NCURSESW PkgConfig::CAIRO
  PkgConfig::FONTCONFIG PkgConfig::ALSA PkgConfig::SODIUM ${DDS_LIBRARY} ${CUPS_LIBRARY})
