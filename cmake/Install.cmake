# Install rules: the two programs, the HTML manual, the examples and the desktop
# integration (desktop entry, metainfo, file types, icons, man pages).
set(QUARZEL_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS quarzel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${QUARZEL_INSTALL_SHAREDIR}/examples)

foreach(page quarzel quarzel-cli)
  configure_file(${QUARZEL_DATA}/man/${page}.1.in ${PROJECT_BINARY_DIR}/data/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/data/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(TARGETS quarzel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES $<TARGET_FILE_DIR:quarzel>/$<TARGET_FILE_BASE_NAME:quarzel>.htm
        DESTINATION ${QUARZEL_INSTALL_SHAREDIR})

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
