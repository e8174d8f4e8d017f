# Install rules: the game, its user guide, and the desktop integration that
# lets a file manager open saved ".gam" games with it.
include(GNUInstallDirs)

if(TARGET quintrel)
  install(TARGETS quintrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The game shows readme.txt from its working directory; the desktop entry
# starts it in the documentation folder, where the guide is installed.
install(FILES ${CMAKE_SOURCE_DIR}/readme.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The entry names the documentation folder of the prefix installed into, which
# `cmake --install --prefix` may choose only now.
install(CODE "set(QUINTREL_DESKTOP_IN \"${CMAKE_SOURCE_DIR}/data/quintrel.desktop.in\")
  set(QUINTREL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(QUINTREL_DOCDIR \"${CMAKE_INSTALL_DOCDIR}\")")
install(CODE [[
  if(IS_ABSOLUTE "${QUINTREL_DOCDIR}")
    set(CMAKE_INSTALL_FULL_DOCDIR "${QUINTREL_DOCDIR}")
  else()
    set(CMAKE_INSTALL_FULL_DOCDIR "${CMAKE_INSTALL_PREFIX}/${QUINTREL_DOCDIR}")
  endif()
  set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${QUINTREL_DATADIR}/applications/quintrel.desktop")
  message(STATUS "Installing: ${target}")
  configure_file("${QUINTREL_DESKTOP_IN}" "${target}" @ONLY)
]])
install(FILES ${CMAKE_SOURCE_DIR}/data/quintrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/quintrel-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quintrel.xml)

# Refresh the desktop caches when installing into a live system; a staged
# install (DESTDIR) leaves that to the package manager.
install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    find_program(UPDATE_MIME update-mime-database)
    find_program(UPDATE_DESKTOP update-desktop-database)
    if(UPDATE_MIME)
      execute_process(COMMAND ${UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(UPDATE_DESKTOP)
      execute_process(COMMAND ${UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
