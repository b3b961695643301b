# Installing Pelmora (GNUInstallDirs) and its Debian package (CPack): both programs, the
# sample corpus in the data folder, the desktop entry, the icon, the AppStream metainfo, the
# manual pages and the package's own documents.

set(PELMORA_APP_ID org.pelmora.Pelmora)
set(PELMORA_HOMEPAGE "https://pelmora.example.org" CACHE STRING
  "The project's home page, named in the metainfo; its screenshots are under docs/screenshots")
set(PELMORA_MAINTAINER "Pelmora maintainers <maintainers@pelmora.example.org>" CACHE STRING
  "The package's maintainer")
# The day this version was released, for the metainfo's release and the package's changelog.
set(PELMORA_RELEASE_DATE 2026-12-09)
execute_process(COMMAND date -u -d ${PELMORA_RELEASE_DATE} "+%a, %d %b %Y 00:00:00 +0000"
  OUTPUT_VARIABLE PELMORA_RELEASE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)

set(generated ${CMAKE_BINARY_DIR}/generated)
configure_file(data/pelmora.metainfo.xml.in ${generated}/${PELMORA_APP_ID}.metainfo.xml @ONLY)
configure_file(data/changelog.in ${generated}/changelog @ONLY)
configure_file(docs/pelmora.1.in ${generated}/pelmora.1 @ONLY)
configure_file(docs/pelmora-cli.1.in ${generated}/pelmora-cli.1 @ONLY)

# Manual pages and the changelog are installed compressed, as Debian has them.
set(compressed)
foreach(source pelmora.1 pelmora-cli.1 changelog)
  add_custom_command(OUTPUT ${generated}/${source}.gz
    COMMAND gzip -9 -n -c ${generated}/${source} > ${generated}/${source}.gz
    DEPENDS ${generated}/${source} VERBATIM)
  list(APPEND compressed ${generated}/${source}.gz)
endforeach()
add_custom_target(pelmora_compressed_documents ALL DEPENDS ${compressed})

install(TARGETS pelmora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora/samples)
install(FILES ${generated}/pelmora-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The desktop program with what a desktop shows of it: menu entry, icon, metainfo.
if(PELMORA_BUILD_GUI)
  install(TARGETS pelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${generated}/pelmora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES data/pelmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${generated}/${PELMORA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/icons/pelmora.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(DIRECTORY data/icons/hicolor/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()
install(FILES data/copyright ${generated}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${PELMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text type compatibility of a corpus for linguists")
# The summary above is the description's first line; CPack puts it before these.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Pelmora tests how compatible the texts of a corpus are at the level of text
type, before a linguist compares them (for example for authorship). Every
text of a folder gets a five-digit type code from the density of marker
words, every pair of texts a strength, and a report lists the pairs, the
minimal ones and those off the norm. The package holds the desktop program,
the command-line program pelmora-cli and a sample corpus.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PELMORA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
