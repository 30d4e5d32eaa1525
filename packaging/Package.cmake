# The Debian package of xkest, built by scripts/package.sh with "cpack -G
# DEB" in a build folder: what "cmake --install" installs, under /usr, plus
# the files Debian's tools expect of a package. Its dependencies are read
# from the libraries the programs link (dpkg-shlibdeps), never typed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xkest)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "xkest maintainers <maintainers@users.noreply.c-seed-02b4d243.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Motif front end for the kestb code generator")
# The extended description; CPack indents it as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION "xkest edits a DSM model in a text window, lets you pick a code template
and an output folder, runs the kestb generator and shows its report. From
the report it jumps to the DSM line an error names, walks the errors one
by one, or opens a generated file in your editor.

The package holds both programs, xkest and the batch generator kestb, the
X resources that describe xkest's whole interface, their manual pages, a
desktop entry, and an example kest home with C++ templates, a sample model
and the help pages, in /usr/share/xkest/demo-home.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open is the default editor and help browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installed under DESTDIR with the real prefix, so the desktop entry names
# /usr and the app-defaults file may go to its absolute folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/package)

# A file under /etc is the administrator's to edit: dpkg keeps the edits
# when it is a conffile.
set(_xk_conffiles "")
if(XKEST_APP_DEFAULTS_DIR MATCHES "^/etc/")
  string(APPEND _xk_conffiles "${XKEST_APP_DEFAULTS_DIR}/xkest\n")
endif()
if(_xk_conffiles)
  file(WRITE ${PROJECT_BINARY_DIR}/package-control/conffiles "${_xk_conffiles}")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/package-control/conffiles)
endif()

# The copyright file and a changelog where Debian's tools look for them
# ("cmake --install" installs them too, beside the other documentation).
# The date honours SOURCE_DATE_EPOCH, for a reproducible package.
string(TIMESTAMP XK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/package-doc/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/package-doc/changelog.gz
  COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/package-doc/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/package-doc/changelog VERBATIM)
add_custom_target(xkest_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/package-doc/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PROJECT_BINARY_DIR}/package-doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
