# Installation and the Debian package: the programs players start by name in games/
# (as Debian's games have them, and /usr/local/games is on Debian's PATH too), the
# game itself in libexec, its Data/ in share/kelvidron, the launcher games/kelvidron
# that starts it from there, the manual pages, a desktop entry, its AppStream
# metainfo and the icon. `make install PREFIX=...` and `make package` use these rules.
include(GNUInstallDirs)

set(KELVIDRON_DATA_FOLDER ${CMAKE_INSTALL_DATADIR}/kelvidron)
set(KELVIDRON_GAME_PROGRAM ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron/kelvidron)

install(TARGETS kelvidron RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kelvidron)
# The key check needs no data: players start it by name.
install(TARGETS kelvidron-keycheck RUNTIME DESTINATION ${KELVIDRON_PROGRAM_FOLDER})
# Replays need no data files, except to be drawn in the game's window (played back,
# recorded or made into videos), which finds the installed Data/ from the program's
# own place.
install(TARGETS kelvidron-replay RUNTIME DESTINATION ${KELVIDRON_PROGRAM_FOLDER})
# The online duel finds the pictures itself, as the replay tool does.
install(TARGETS kelvidron-online RUNTIME DESTINATION ${KELVIDRON_PROGRAM_FOLDER})
install(FILES ${KELVIDRON_IMAGE_FILES} DESTINATION ${KELVIDRON_DATA_FOLDER}/Data)

# The launcher finds the prefix from its own place, so the installation can move.
file(RELATIVE_PATH BIN_TO_PREFIX /prefix/${KELVIDRON_PROGRAM_FOLDER} /prefix)
set(DATA_FOLDER ${KELVIDRON_DATA_FOLDER})
set(GAME_PROGRAM ${KELVIDRON_GAME_PROGRAM})
set(LAUNCHED kelvidron)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvidron.in ${CMAKE_BINARY_DIR}/packaging/kelvidron @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/kelvidron DESTINATION ${KELVIDRON_PROGRAM_FOLDER})
# The practice duel finds the pictures itself, as the other programs do.
install(TARGETS kelvidron-practice RUNTIME DESTINATION ${KELVIDRON_PROGRAM_FOLDER})
include(${CMAKE_CURRENT_LIST_DIR}/manual_pages.cmake)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvidron.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.kelvidron.kelvidron.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian's documentation folder holds the copyright and a changelog in Debian's
# form (the package is its own upstream, so changelog.gz), compressed as Debian
# compresses them: -n keeps the time out, so the same files give the same bytes.
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry names the launcher by its full path, which is only known when
# installing (`cmake --install --prefix` may differ from the configured prefix).
install(CODE "
  file(READ \"${CMAKE_CURRENT_LIST_DIR}/kelvidron.desktop.in\" entry)
  string(REPLACE \"@LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/${KELVIDRON_PROGRAM_FOLDER}/kelvidron\" entry \"\${entry}\")
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
    "the two players' views. kelvidron-practice is the duel for one, against a\n"
    "computer pilot of three levels; kelvidron-online is the duel between two\n"
    "machines; kelvidron-replay records duels, plays them back, checks them\n"
    "against the simulation and makes videos of them; kelvidron-keycheck shows\n"
    "which keys the keyboard delivers together.")
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
