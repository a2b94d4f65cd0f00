# The Linux program installed like any desktop program. `cmake --install` lays out the program,
# its menu entry, icons, AppStream data, manual page and Debian documents under the prefix, and
# the `package` target (CPack) wraps that same tree into build/zanthera_<release>_<arch>.deb.
include(GNUInstallDirs)

set(ZANTHERA_MAINTAINER "The Zanthera developers <developers@zanthera.example>")
set(linux_in ${CMAKE_CURRENT_LIST_DIR}/linux)
set(linux_out ${CMAKE_BINARY_DIR}/packaging)

# The licence for the Debian copyright file: its text without the heading and copyright line,
# each line indented by one space and each blank line written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^[^\n]*\n\n[^\n]*\n\n(.*[^\n])\n*$" "\\1" licence "${licence}")
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " ZANTHERA_LICENSE_TEXT " ${licence}")

configure_file(${linux_in}/zanthera.desktop.in ${linux_out}/${ZANTHERA_APP_ID}.desktop @ONLY)
configure_file(${linux_in}/zanthera.metainfo.xml.in ${linux_out}/${ZANTHERA_APP_ID}.metainfo.xml
  @ONLY)
configure_file(${linux_in}/copyright.in ${linux_out}/copyright @ONLY)
# Debian wants the manual pages and the changelog compressed, without name or time stamp. The
# Arabic manual page keeps the English one's file name, in a folder of its own.
set(compressed)
foreach(doc changelog zanthera.1 ar/zanthera.1)
  string(REPLACE "ar/zanthera.1" "zanthera.ar.1" source ${doc})
  configure_file(${linux_in}/${source}.in ${linux_out}/${doc} @ONLY)
  add_custom_command(OUTPUT ${linux_out}/${doc}.gz
    COMMAND gzip -9nkf ${linux_out}/${doc}
    DEPENDS ${linux_out}/${doc} VERBATIM)
  list(APPEND compressed ${linux_out}/${doc}.gz)
endforeach()
add_custom_target(zanthera_documents ALL DEPENDS ${compressed})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS zanthera RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${linux_out}/${ZANTHERA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_out}/${ZANTHERA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ZANTHERA_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${linux_out}/zanthera.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${linux_out}/ar/zanthera.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ar/man1)
install(FILES ${linux_out}/copyright ${linux_out}/changelog.gz
  ${PROJECT_SOURCE_DIR}/docs/guide.ar.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zanthera)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zanthera)
set(CPACK_PACKAGE_VERSION ${ZANTHERA_RELEASE})
set(CPACK_PACKAGE_VENDOR "The Zanthera developers")
set(CPACK_PACKAGE_CONTACT ${ZANTHERA_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZANTHERA_HOME_PAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings pages and facts about the computer in one window")
set(CPACK_PACKAGE_DESCRIPTION [[
Zanthera gathers the computer's settings pages in one small window with an
Arabic interface. Twelve picture buttons open the pages for sound,
accessibility, internet, the whole settings centre, keyboard, mouse, date and
time, display, installed programs, game controllers, regional settings and the
system, on GNOME, Plasma, Xfce, MATE, Cinnamon and LXQt, falling back to
desktop-neutral tools elsewhere.

Four more buttons each show one fact about the computer: the screen
resolution, the computer's name, the user's name and the disk's serial number.
A live panel shows the time, the date, the weekday, the month and the minutes
since the computer started.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries come from shlibdeps; the one thing the binary does not name is a font with Arabic
# letters, which the labels and message boxes are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-noto-core")
# Nor does it recommend qt6-wayland. Without it Qt takes XWayland on a Wayland session, where the
# desktop's own window manager draws the fixed window's frame with move and close only. With it,
# on desktops that leave the frame to the program (GNOME, Weston), Qt 6.4 draws one itself with
# maximize and minimize buttons whatever the window asks for, and Weston ends a fixed window's
# program when its maximize button is clicked. Installing it would also move every other Qt 6
# program of the user onto Wayland. Where the user has it, the program runs natively.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
