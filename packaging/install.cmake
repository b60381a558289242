# Installation and the Debian package: the game in libexec, its Data/ in
# share/kelvidron, the launcher bin/kelvidron that starts it from there, a desktop
# entry and the icon. `make install PREFIX=...` and `make package` use these rules.
include(GNUInstallDirs)

set(KELVIDRON_DATA_FOLDER ${CMAKE_INSTALL_DATADIR}/kelvidron)
set(KELVIDRON_GAME_PROGRAM ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron/kelvidron)

install(TARGETS kelvidron RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron)
# The key check needs no data: players start it by name.
install(TARGETS kelvidron-keycheck RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Replays need no data files and no window.
install(TARGETS kelvidron-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KELVIDRON_IMAGE_FILES} DESTINATION ${KELVIDRON_DATA_FOLDER}/Data)
# The practice duel reads the game's pictures as the game does: beside it in libexec,
# started by a launcher of its own.
install(TARGETS kelvidron-practice RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron)

# The launcher finds the prefix from its own place, so the installation can move.
file(RELATIVE_PATH BIN_TO_PREFIX /prefix/${CMAKE_INSTALL_BINDIR} /prefix)
set(DATA_FOLDER ${KELVIDRON_DATA_FOLDER})
set(GAME_PROGRAM ${KELVIDRON_GAME_PROGRAM})
set(LAUNCHED kelvidron)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvidron.in ${CMAKE_BINARY_DIR}/packaging/kelvidron @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/kelvidron DESTINATION ${CMAKE_INSTALL_BINDIR})
set(LAUNCHED kelvidron-practice)
set(GAME_PROGRAM ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron/kelvidron-practice)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvidron.in ${CMAKE_BINARY_DIR}/packaging/kelvidron-practice @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/kelvidron-practice DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvidron.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry names the launcher by its full path, which is only known when
# installing (`cmake --install --prefix` may differ from the configured prefix).
install(CODE "
  file(READ \"${CMAKE_CURRENT_LIST_DIR}/kelvidron.desktop.in\" entry)
  string(REPLACE \"@LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kelvidron\" entry \"\${entry}\")
  file(WRITE \"${CMAKE_BINARY_DIR}/packaging/kelvidron.desktop\" \"\${entry}\")
  file(INSTALL \"${CMAKE_BINARY_DIR}/packaging/kelvidron.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvidron)
set(CPACK_PACKAGE_VENDOR "Kelvidron")
set(CPACK_PACKAGE_CONTACT "Kelvidron developers <developers@kelvidron.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player split-screen space duel")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Two ships fly in open space among five textured, spinning planets; two\n"
    "players steer them with six-axis controls from one shared keyboard or\n"
    "from gamepads and fire shots. Drawn with OpenGL, in one window split into\n"
    "the two players' views. kelvidron-keycheck shows which keys the keyboard\n"
    "delivers together.")
# Installed into the staging folder through DESTDIR with the prefix /usr, so the
# install-time prefix the desktop entry records is /usr, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the game links (GLUT, GLU, GL, SDL2 for the sound and the gamepads,
# SDL2_mixer, ALSA and the C++ runtime) as dpkg-shlibdeps finds them; a software or
# hardware OpenGL driver comes with libgl1.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
