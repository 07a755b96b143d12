# Install rules (make install, make deb): the program, its help page, the desktop entry, the icon
# in the hicolor theme, the file type, the AppStream metainfo and the manual pages.
# PREFIX defaults to /usr/local; DESTDIR is honoured by cmake --install.
include(GNUInstallDirs)

set(LV_APP_ID org.linkvane.Linkvane)
# The date of the release PROJECT_VERSION names: shown in the metainfo and the manual pages.
set(LV_RELEASE_DATE 2026-12-10)
set(LV_INSTALL_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR})
set(lv_data ${PROJECT_SOURCE_DIR}/data)
set(lv_generated ${PROJECT_BINARY_DIR}/data)

# The programs and their manual pages (data/<program>.1.in); each is installed when it is built.
# linkvane-cli joins here with its page data/linkvane-cli.1.in.
set(lv_installed_programs linkvane linkvane-cli)

foreach(program ${lv_installed_programs})
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# What the program reads at run time, found as <bindir>/../share/linkvane/.
install(FILES ${PROJECT_SOURCE_DIR}/docs/help.html DESTINATION ${CMAKE_INSTALL_DATADIR}/linkvane)

install(FILES ${lv_data}/linkvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${lv_data}/linkvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

install(FILES ${lv_data}/icons/linkvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${lv_data}/icons/png/linkvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME linkvane.png)
endforeach()

configure_file(${lv_data}/${LV_APP_ID}.metainfo.xml.in ${lv_generated}/${LV_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${lv_generated}/${LV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed the way Debian wants them (gzip -n: no name or time stamp inside).
set(lv_man_pages)
foreach(program ${lv_installed_programs})
  if(TARGET ${program} AND EXISTS ${lv_data}/${program}.1.in)
    configure_file(${lv_data}/${program}.1.in ${lv_generated}/${program}.1 @ONLY)
    add_custom_command(OUTPUT ${lv_generated}/${program}.1.gz
                       COMMAND gzip -9 -n -f -k ${lv_generated}/${program}.1
                       DEPENDS ${lv_generated}/${program}.1
                       COMMENT "Compressing the manual page ${program}(1)")
    list(APPEND lv_man_pages ${lv_generated}/${program}.1.gz)
  endif()
endforeach()
if(lv_man_pages)
  add_custom_target(lv_man_pages ALL DEPENDS ${lv_man_pages})
  install(FILES ${lv_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The licence and the change log, where Debian keeps them for every package.
set(lv_docdir ${CMAKE_INSTALL_DATADIR}/doc/linkvane)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${lv_docdir} RENAME copyright)
configure_file(${lv_data}/changelog.in ${lv_generated}/changelog @ONLY)
add_custom_command(OUTPUT ${lv_generated}/changelog.gz
                   COMMAND gzip -9 -n -f -k ${lv_generated}/changelog
                   DEPENDS ${lv_generated}/changelog
                   COMMENT "Compressing the change log")
add_custom_target(lv_changelog ALL DEPENDS ${lv_generated}/changelog.gz)
install(FILES ${lv_generated}/changelog.gz DESTINATION ${lv_docdir})

# make deb: the Debian package, its dependencies found by dpkg-shlibdeps from the linked libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME linkvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Linkvane developers")
set(CPACK_PACKAGE_CONTACT "The Linkvane developers <linkvane@linkvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop bookmark manager")
set(CPACK_PACKAGE_DESCRIPTION
    "Linkvane keeps web addresses, local files and programs as bookmark buttons\n\
on named pages, shown as tabs along the bottom of its window. One click opens\n\
a bookmark in a web browser or on the desktop. Every change is written to the\n\
bookmark file at once and atomically.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: Qt loads its platform plugin (the window) at run time, and
# bookmarks open through xdg-open. The SVG image plugin draws the window's icon sharp.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://linkvane.example/")
include(CPack)
