# `cmake --install` puts the program in bin/ and its shared files in
# share/kelmo/: everything under resources/ (the manual tree) and what the
# build generated into build/resources/ (the suit font).
# The program looks there relative to its own path (bin/../share/kelmo).
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/resources/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmo)
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/resources/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmo)
# The suit font also goes where fontconfig looks under /usr and /usr/local,
# so an installed program passes its font check without tools/install-font.sh.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/resources/fonts/bridge.ttf
  DESTINATION ${CMAKE_INSTALL_DATADIR}/fonts/truetype/kelmo)

# What ./run needs built: the program and the files it uses at run time,
# without the tests.
add_custom_target(kelmo_runtime)
add_dependencies(kelmo_runtime kelmo kelmo_sounds kelmo_font)
