# The manual pages, section 6 as for every game: written in scdoc (packaging/man/
# NAME.6.scd), turned into roff by Debian's scdoc at build time and compressed as
# Debian wants them. A new program's page is its NAME.6.scd and its name below.
set(KELVIDRON_MANUAL_PAGES kelvidron kelvidron-keycheck kelvidron-online kelvidron-practice
  kelvidron-replay)

find_program(SCDOC scdoc REQUIRED)
# The pages are dated by the newest changelog entry, as Debian's packages date theirs,
# so the same source gives the same pages on any day.
execute_process(COMMAND dpkg-parsechangelog -l ${CMAKE_CURRENT_LIST_DIR}/changelog -S Timestamp
  OUTPUT_VARIABLE KELVIDRON_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
set(KELVIDRON_MANUAL_FOLDER ${CMAKE_BINARY_DIR}/man)
set(KELVIDRON_MANUAL_FILES "")
foreach(page ${KELVIDRON_MANUAL_PAGES})
  # The pages name the version in their footer.
  configure_file(${CMAKE_CURRENT_LIST_DIR}/man/${page}.6.scd ${KELVIDRON_MANUAL_FOLDER}/${page}.6.scd
    @ONLY)
  set(roff ${KELVIDRON_MANUAL_FOLDER}/${page}.6)
  # The roff stays beside the compressed page, for `man -l` on the build.
  add_custom_command(OUTPUT ${roff} ${roff}.gz
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${KELVIDRON_RELEASE_TIME}
            sh -c "\"$0\" < \"$1\" > \"$2\"" ${SCDOC} ${roff}.scd ${roff}
    COMMAND gzip -9nkf ${roff}
    DEPENDS ${KELVIDRON_MANUAL_FOLDER}/${page}.6.scd
    COMMENT "Writing the manual page ${page}(6)"
    VERBATIM)
  list(APPEND KELVIDRON_MANUAL_FILES ${roff}.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${KELVIDRON_MANUAL_FILES})
install(FILES ${KELVIDRON_MANUAL_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
