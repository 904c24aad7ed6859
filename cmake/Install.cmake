# Install rules and the Debian package (cpack -G DEB).
#
#   <prefix>/bin                  the program and its tools
#   <prefix>/lib/rumone/modules   the charts module, which the program looks
#                                 for there (../lib/rumone/modules) when it is
#                                 not beside it; a folder below lib/rumone, so
#                                 that the package runs no ldconfig for it
#   <prefix>/share/rumone         the help file and the shipped history; the
#                                 program looks for them in ../share/rumone
#                                 beside its own folder, so these two paths
#                                 are fixed
#   <prefix>/share/applications, icons, metainfo, man/man1, doc/rumone

set(RUMONE_APP_ID jp.rumone.Rumone)
set(RUMONE_RELEASE_DATE 2026-12-08)
set(RUMONE_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")
set(RUMONE_PACKAGE_MAINTAINER "The Rumone developers <rumone@example.org>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")

# The command-line tools installed beside the program; each has its manual
# page packaging/man/<tool>.1.
set(RUMONE_INSTALLED_TOOLS rumone-db rumone-griddump rumone-backtest rumone-chance)

set(RUMONE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(RUMONE_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
find_program(GZIP_PROGRAM gzip REQUIRED)

install(TARGETS rumone ${RUMONE_INSTALLED_TOOLS} RUNTIME DESTINATION bin)
install(TARGETS rumone_charts LIBRARY DESTINATION lib/rumone/modules)
install(FILES ${PROJECT_SOURCE_DIR}/data/draws.csv DESTINATION share/rumone)
if(DEFINED RUMONE_HELP_FILE)
  install(FILES ${RUMONE_HELP_FILE} DESTINATION share/rumone)
endif()

install(FILES ${RUMONE_PACKAGING_DIR}/${RUMONE_APP_ID}.desktop DESTINATION share/applications)
foreach(size 16 32 64 256)
  install(FILES ${PROJECT_SOURCE_DIR}/gui/resources/rumone-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME rumone.png)
endforeach()
configure_file(${RUMONE_PACKAGING_DIR}/${RUMONE_APP_ID}.metainfo.xml.in
               ${RUMONE_PACKAGING_OUT}/${RUMONE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${RUMONE_PACKAGING_OUT}/${RUMONE_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# Manual pages and the changelog, compressed as Debian wants them (-n: the
# same bytes on every build).
set(RUMONE_COMPRESSED)
function(rumone_compressed source output)
  configure_file(${source} ${RUMONE_PACKAGING_OUT}/${output} @ONLY)
  add_custom_command(
    OUTPUT ${RUMONE_PACKAGING_OUT}/${output}.gz
    COMMAND ${GZIP_PROGRAM} -9nf -k ${output}
    WORKING_DIRECTORY ${RUMONE_PACKAGING_OUT}
    DEPENDS ${RUMONE_PACKAGING_OUT}/${output}
    VERBATIM)
  set(RUMONE_COMPRESSED ${RUMONE_COMPRESSED} ${RUMONE_PACKAGING_OUT}/${output}.gz PARENT_SCOPE)
endfunction()
foreach(page rumone ${RUMONE_INSTALLED_TOOLS})
  if(NOT EXISTS ${RUMONE_PACKAGING_DIR}/man/${page}.1)
    message(FATAL_ERROR "${page} is installed without its manual page packaging/man/${page}.1")
  endif()
  rumone_compressed(${RUMONE_PACKAGING_DIR}/man/${page}.1 ${page}.1)
  install(FILES ${RUMONE_PACKAGING_OUT}/${page}.1.gz DESTINATION share/man/man1)
endforeach()
rumone_compressed(${RUMONE_PACKAGING_DIR}/changelog.in changelog)
add_custom_target(rumone_packaging_files ALL DEPENDS ${RUMONE_COMPRESSED})
install(FILES ${RUMONE_PACKAGING_OUT}/changelog.gz ${RUMONE_PACKAGING_DIR}/copyright DESTINATION share/doc/rumone)

# ---- the Debian package: rumone_<version>_amd64.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rumone)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${RUMONE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RUMONE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "winning numbers of a four-digit lottery, in tables")
set(CPACK_PACKAGE_DESCRIPTION
    "Rumone (ルモーネ) keeps the winning numbers of a four-digit numbers lottery
in a password-protected database, lets the user enter new draws and shows
the history in sixteen coloured tables, with the digits four fixed methods
derive from it. Draws are random: the figures describe past draws only.
The user interface is in Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Japanese texts for its standard buttons, and a Japanese font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
