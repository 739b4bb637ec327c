# Install rules: the two programs, the HTML manual, the examples, the documents and the
# desktop integration (desktop entry, metainfo, file types, icons, man pages), the bash
# completion.
set(QUARZEL_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS quarzel-cli quarzel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (--strip, and so the package) also drops the compilers' version notes,
# which only make the programs larger.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program quarzel quarzel-cli)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
install(FILES $<TARGET_FILE_DIR:quarzel>/$<TARGET_FILE_BASE_NAME:quarzel>.htm
        DESTINATION ${QUARZEL_INSTALL_SHAREDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${QUARZEL_INSTALL_SHAREDIR}/examples)
# The browser edition, built by scripts/web.sh, for hosting on a school's own server.
if(QUARZEL_WEB_SITE)
  if(NOT EXISTS ${QUARZEL_WEB_SITE}/index.html)
    message(FATAL_ERROR "QUARZEL_WEB_SITE: no built site in ${QUARZEL_WEB_SITE} (run scripts/web.sh --build-only)")
  endif()
  install(DIRECTORY ${QUARZEL_WEB_SITE}/ DESTINATION ${QUARZEL_INSTALL_SHAREDIR}/web)
endif()

# The man pages name installed paths, so they are written when the prefix is known: at
# install time, which for the package is /usr rather than the configured prefix.
find_program(QUARZEL_GZIP gzip REQUIRED)
foreach(page quarzel quarzel-cli)
  install(CODE "
    set(CMAKE_INSTALL_FULL_DATADIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    set(CMAKE_INSTALL_FULL_DOCDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DOCDIR}\")
    set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(QUARZEL_PACKAGE_VERSION \"${QUARZEL_PACKAGE_VERSION}\")
    configure_file(\"${QUARZEL_DATA}/man/${page}.1.in\" \"${PROJECT_BINARY_DIR}/data/${page}.1\" @ONLY)
    execute_process(COMMAND \"${QUARZEL_GZIP}\" -9nf \"${PROJECT_BINARY_DIR}/data/${page}.1\"
                    COMMAND_ERROR_IS_FATAL ANY)
    file(INSTALL \"${PROJECT_BINARY_DIR}/data/${page}.1.gz\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")")
endforeach()

# The documents: the licence in Debian's machine-readable copyright format, the list of
# changes in Debian's changelog format, both made from the files kept in the repository.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" licence "${licence}")
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " QUARZEL_LICENCE_TEXT " ${licence}")
configure_file(${QUARZEL_DATA}/copyright.in ${PROJECT_BINARY_DIR}/data/copyright @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/data/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DNEWS=${PROJECT_SOURCE_DIR}/NEWS.md
          -DCHANGELOG=${PROJECT_BINARY_DIR}/data/changelog -DPACKAGE=${PROJECT_NAME}
          "-DMAINTAINER=${QUARZEL_MAINTAINER}" -P ${PROJECT_SOURCE_DIR}/cmake/NewsToChangelog.cmake
  COMMAND ${QUARZEL_GZIP} -9nf ${PROJECT_BINARY_DIR}/data/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/NEWS.md ${PROJECT_SOURCE_DIR}/cmake/NewsToChangelog.cmake
  COMMENT "Writing changelog.gz from NEWS.md" VERBATIM)
add_custom_target(quarzel_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/data/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/data/copyright ${PROJECT_BINARY_DIR}/data/changelog.gz
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES ${QUARZEL_DATA}/${QUARZEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${QUARZEL_DATA}/${QUARZEL_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/data/${QUARZEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${QUARZEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUARZEL_DATA}/${QUARZEL_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${QUARZEL_APP_ID}.xml)
install(FILES ${QUARZEL_DATA}/icons/${QUARZEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${QUARZEL_DATA}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        FILES_MATCHING PATTERN "*.png")

# Bash completion: one script completes both programs, installed under each one's name, where
# bash looks for a program's completion when it is first asked.
foreach(program quarzel quarzel-cli)
  install(FILES ${QUARZEL_DATA}/completion/quarzel.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
endforeach()

# `cmake --build BUILD --target uninstall` takes back the last install from this folder.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
  COMMENT "Removing the installed files" VERBATIM)
