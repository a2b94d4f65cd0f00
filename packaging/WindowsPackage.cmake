# The Windows installer, zanthera-<release>.msi in the Windows build's folder (the 32-bit build's
# for Windows itself, the x86_64 build's for 64-bit Windows and the tests under Wine), made by
# Debian's wixl from windows/zanthera.wxs.in. Its icon file holds the desktop icons that the
# Linux build drew, at the sizes Windows shows in the Start menu and among installed programs.
find_program(ZANTHERA_WIXL wixl)
find_program(ZANTHERA_ICOTOOL icotool)
if(NOT ZANTHERA_WIXL OR NOT ZANTHERA_ICOTOOL)
  message(STATUS "No Windows installer: it needs wixl and icotool (make windows-package)")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(msi_arch x64)
  set(msi_program_files ProgramFiles64Folder)
  set(msi_win64 yes)
else()
  set(msi_arch x86)
  set(msi_program_files ProgramFilesFolder)
  set(msi_win64 no)
endif()

set(host_icons ${ZANTHERA_HOST_BUILD}/icons/hicolor)
set(icon_pngs)
foreach(size 16 24 32 48 256)
  list(APPEND icon_pngs ${host_icons}/${size}x${size}/apps/${ZANTHERA_APP_ID}.png)
endforeach()
list(POP_BACK icon_pngs icon_256)
set(msi_icon zanthera.ico)
# The 256-pixel image stays PNG inside the icon file, as Windows itself stores its large icons.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${msi_icon}
  COMMAND ${ZANTHERA_ICOTOOL} --create --output=${CMAKE_BINARY_DIR}/${msi_icon} ${icon_pngs}
    --raw=${icon_256}
  DEPENDS ${icon_pngs} ${icon_256}
  COMMENT "Writing the installer's icon file" VERBATIM)

# wixl reads its sources relative to the .wxs file only.
set(msi_program $<PATH:RELATIVE_PATH,$<TARGET_FILE:zanthera>,${CMAKE_BINARY_DIR}>)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/zanthera.wxs.in ${CMAKE_BINARY_DIR}/zanthera.wxs.in
  @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/zanthera.wxs INPUT ${CMAKE_BINARY_DIR}/zanthera.wxs.in)
set(msi ${CMAKE_BINARY_DIR}/zanthera-${ZANTHERA_RELEASE}.msi)
add_custom_command(OUTPUT ${msi}
  COMMAND ${ZANTHERA_WIXL} --arch ${msi_arch} --output ${msi} ${CMAKE_BINARY_DIR}/zanthera.wxs
  DEPENDS ${CMAKE_BINARY_DIR}/zanthera.wxs ${CMAKE_BINARY_DIR}/${msi_icon} zanthera
  COMMENT "Building the Windows installer" VERBATIM)
add_custom_target(windows-package DEPENDS ${msi})
