# What `cmake --install` puts on the system: the program and its script
# runner, its desktop entry, icons, AppStream metainfo and manual page, in the
# usual places under CMAKE_INSTALL_PREFIX (DESTDIR is honoured).
include(GNUInstallDirs)

if(NOT TARGET qarno-wavetable-maker)
  return()
endif()

# The desktop entry's and the metainfo's file names carry this id.
set(QARNO_APP_ID org.qarno.wavetable_maker)
set(QARNO_RELEASE_DATE 2026-12-07)

# The icon, drawn by the resource generator at the sizes the hicolor theme uses.
set(QARNO_ICON_SIZES 48 128 256)
set(QARNO_ICON_FILES)
set(QARNO_ICON_COMMANDS)
foreach(size IN LISTS QARNO_ICON_SIZES)
  set(icon ${CMAKE_BINARY_DIR}/generated/icons/${size}/qarno-wavetable-maker.png)
  list(APPEND QARNO_ICON_FILES ${icon})
  list(APPEND QARNO_ICON_COMMANDS
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/icons/${size}
    COMMAND qarno_make_strips --icon ${size} ${icon})
endforeach()
add_custom_command(OUTPUT ${QARNO_ICON_FILES}
  ${QARNO_ICON_COMMANDS}
  DEPENDS qarno_make_strips
  COMMENT "Drawing the program's icon")
add_custom_target(qarno_icons ALL DEPENDS ${QARNO_ICON_FILES})

configure_file(${CMAKE_SOURCE_DIR}/data/${QARNO_APP_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/generated/${QARNO_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/qarno-wavetable-maker.1.in
  ${CMAKE_BINARY_DIR}/generated/qarno-wavetable-maker.1 @ONLY)

install(TARGETS qarno-wavetable-maker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The script runner is no command of its own: the editor starts it from here.
install(TARGETS qarno-script-runner
  RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/qarno-wavetable-maker)
install(FILES ${CMAKE_SOURCE_DIR}/data/${QARNO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS QARNO_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/generated/icons/${size}/qarno-wavetable-maker.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/generated/${QARNO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/generated/qarno-wavetable-maker.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What scripts/package adds to an install to make the Debian package: its
# control file (the fields that depend on the built binary are filled in there)
# and its changelog, both carrying the project's one version.
execute_process(COMMAND date -R -u -d ${QARNO_RELEASE_DATE}
  OUTPUT_VARIABLE QARNO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(file control changelog)
  configure_file(${CMAKE_SOURCE_DIR}/data/package/${file}.in
    ${CMAKE_BINARY_DIR}/generated/package/${file} @ONLY)
endforeach()
