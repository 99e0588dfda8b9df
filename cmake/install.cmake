# Installing: the program in bin/, its pictures, recordings and layouts in
# share/lumo-book/ (the program looks there from its own folder, so any prefix
# works), the launcher entry, the AppStream metadata, the icon theme's icons and
# the man page; and the .deb package of the same (`cmake --build BUILD --target
# package`).
include(GNUInstallDirs)
set(LUMO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/lumo-book)
set(LUMO_MAINTAINER "Lumo Book maintainers <maintainers@lumobook.example.org>")
# The id software centres know the book by: the homepage's domain reversed
# (lumobook.example.org gives org.example.lumobook). The launcher entry and the
# metadata in packaging/ are named after it.
string(REGEX REPLACE "^[a-z]+://([^/]+).*$" "\\1" homepage_host ${PROJECT_HOMEPAGE_URL})
string(REPLACE "." ";" homepage_labels ${homepage_host})
list(REVERSE homepage_labels)
list(JOIN homepage_labels "." LUMO_APP_ID)

install(TARGETS lumo-book RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Generated first: a hand-made resource in assets/ replaces a generated one.
# "/./" copies the folder's content also where the folder is a link to another
# build's (a plain "/" would install the link itself).
install(DIRECTORY ${LUMO_GENERATED_ASSETS}/./ DESTINATION ${LUMO_DATA_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/ DESTINATION ${LUMO_DATA_DIR}
        PATTERN art EXCLUDE PATTERN icon EXCLUDE)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${LUMO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The metadata carries this version as its newest release. Its screenshots are
# the ones in packaging/screenshots/, published under the homepage per version.
set(LUMO_PROJECT_LICENSE LicenseRef-proprietary)
set(LUMO_SCREENSHOTS_URL ${PROJECT_HOMEPAGE_URL}/screenshots/${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/packaging/${LUMO_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${LUMO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${LUMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(LUMO_ICON_THEME ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/assets/icon/lumo-book.svg
        DESTINATION ${LUMO_ICON_THEME}/scalable/apps)
foreach(size ${LUMO_ICON_SIZES})
  install(FILES ${LUMO_GENERATED_ASSETS}/icon/lumo-book-${size}.png
          DESTINATION ${LUMO_ICON_THEME}/${size}x${size}/apps RENAME lumo-book.png OPTIONAL)
endforeach()

# The man page carries the version; Debian ships man pages gzipped.
configure_file(${CMAKE_SOURCE_DIR}/packaging/lumo-book.1 ${CMAKE_BINARY_DIR}/man/lumo-book.1 @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/man/lumo-book.1.gz
  COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/man/lumo-book.1
  DEPENDS ${CMAKE_BINARY_DIR}/man/lumo-book.1
  VERBATIM)
add_custom_target(man ALL DEPENDS ${CMAKE_BINARY_DIR}/man/lumo-book.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/lumo-book.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What Debian asks of every package's doc folder: the copyright and, this being
# a package of its own upstream, a changelog whose newest entry is this version.
execute_process(COMMAND date -u -R -d "${LUMO_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE LUMO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
set(LUMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lumo-book)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${LUMO_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME lumo-book)

# The package: shared libraries found by dpkg-shlibdeps, plus what the program
# loads by name at run time (fonts, the GL driver that draws without a GPU).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumo-book)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive 3D picture book for young children")
# Debian's lines stay under 80 columns; CPack indents them and marks the empty one.
set(CPACK_PACKAGE_DESCRIPTION "\
Ryzhik and the Little Star: a picture book of eighteen pages for young
children, each page a small stage of layered pictures standing in 3D.
Drag to turn the pages, tap a figure to hear it speak. Every page is read
aloud, in Russian or in English, with its words lit as they are read if
wished.

Nothing leaves the computer: the book has no network code, no advertising
and no purchases.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LUMO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fontconfig, fonts-dejavu-core, fonts-comfortaa, libegl-mesa0, libgl1-mesa-dri")
include(CPack)

if(LUMO_TESTS)
  # Installs into a temporary prefix and runs the installed program headless.
  add_test(NAME install_run
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_run.sh ${CMAKE_COMMAND}
                   ${CMAKE_BINARY_DIR})
  set_tests_properties(install_run PROPERTIES TIMEOUT 300 ENVIRONMENT
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;SDL_AUDIODRIVER=dummy;LIBGL_ALWAYS_SOFTWARE=1")
endif()
