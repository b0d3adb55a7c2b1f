# Installation and the Debian package.
#
#   cmake --install BUILD [--prefix DIR]   installs the programs, the desktop
#                                          entry and icon, the manual page and
#                                          the user guide (also as HTML)
#   cd BUILD && cpack -G DEB               builds tolv_<version>_<arch>.deb
#
# (`make package` does both build and cpack.)
include(GNUInstallDirs)

if(TOLV_BUILD_CLI)
  install(TARGETS tolv-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TOLV_BUILD_UI)
  install(TARGETS tolv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tolv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tolv.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/docs/tolv-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The user guide: its pages and their screenshots, as they stand in docs/.
file(GLOB TOLV_GUIDE_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${TOLV_GUIDE_PAGES} ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The HTML guide that ヘルプ opens (cmake/UserGuide.cmake).
if(TOLV_BUILD_UI)
  install(DIRECTORY ${TOLV_GUIDE_DIR} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
foreach(folder screenshots images)
  if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/docs/${folder})
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/${folder} DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()
endforeach()

set(CPACK_PACKAGE_NAME tolv)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Tolv developers")
set(CPACK_PACKAGE_CONTACT "Tolv developers <tolv@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Race-day betting support for JRA horse racing")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tolv reads the prediction posts of many programs from forum logs, counts which picks they share, "
       "attaches odds from several sources, writes listings and postable files, keeps the pending bets and "
       "exports them to betting tools. It comes as a desktop program (tolv) and a command line for scripts "
       "(tolv-cli).")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tolv)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop program draws its Japanese text with a CJK font and shows Qt's own
# dialogs in Japanese.
if(TOLV_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/scratch/;/\\\\.git/")
include(CPack)
