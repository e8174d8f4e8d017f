# Install rules: the game, its tools, its user guide and manual pages, and the
# desktop integration that lets a menu start the game and a file manager open
# saved ".gam" games with it. The Debian package (cmake/Package.cmake) holds
# exactly what these rules install.
include(GNUInstallDirs)
# Folders get the modes a package wants whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(QUINTREL_HOMEPAGE "https://quintrel.example.org" CACHE STRING
    "Web address of the game: the software centre's link, and where it fetches the screenshot")
# Debian finds a package's copyright and changelog under its own lowercase name.
set(QUINTREL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quintrel)

# QUINTREL_BINDIR and QUINTREL_GUIDEDIR come from the top CMakeLists.txt, which
# also tells the game where to find its guide from its executable.
foreach(program quintrel quintrel-match pbrain-quintrel pbrain-referee)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${QUINTREL_BINDIR})
  endif()
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/readme.txt DESTINATION ${QUINTREL_GUIDEDIR})
# The game finds readme.txt from its own executable, so the desktop entry
# needs no working folder (file dialogs would start in this read-only one).
# The entry names the program by its full path, as a session's PATH may lack
# games/; that depends on the prefix, which `cmake --install --prefix` may
# choose only now.
install(CODE "set(QUINTREL_DESKTOP_IN \"${CMAKE_SOURCE_DIR}/data/quintrel.desktop.in\")
  set(QUINTREL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(QUINTREL_BINDIR \"${QUINTREL_BINDIR}\")")
install(CODE [[
  if(IS_ABSOLUTE "${QUINTREL_BINDIR}")
    set(QUINTREL_FULL_BINDIR "${QUINTREL_BINDIR}")
  else()
    set(QUINTREL_FULL_BINDIR "${CMAKE_INSTALL_PREFIX}/${QUINTREL_BINDIR}")
  endif()
  set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${QUINTREL_DATADIR}/applications/quintrel.desktop")
  message(STATUS "Installing: ${target}")
  configure_file("${QUINTREL_DESKTOP_IN}" "${target}" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
]])

configure_file(${CMAKE_SOURCE_DIR}/data/com.zekta.quintrel.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/data/com.zekta.quintrel.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/data/com.zekta.quintrel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/quintrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/quintrel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME quintrel.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/quintrel-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quintrel.xml)

# Manual pages and the changelog are installed compressed, without a name or
# time stamp inside, so that two builds of one source give the same files.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
function(quintrel_gzip source output)
  string(REGEX REPLACE "\\.gz$" "" plain ${output})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND ${GZIP_PROGRAM} -9nf ${plain}
    DEPENDS ${source} VERBATIM)
endfunction()
foreach(page quintrel quintrel-match pbrain-quintrel pbrain-referee)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.6.gz)
  quintrel_gzip(${CMAKE_SOURCE_DIR}/docs/man/${page}.6 ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  list(APPEND compressed ${gz})
endforeach()

set(QUINTREL_MAINTAINER "Zekta <quintrel@example.org>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")
# Configured beside the plain copy that gzip consumes, so a rebuild finds its source.
configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog.in
               ${CMAKE_BINARY_DIR}/data/changelog.configured @ONLY)
quintrel_gzip(${CMAKE_BINARY_DIR}/data/changelog.configured ${CMAKE_BINARY_DIR}/data/changelog.gz)
list(APPEND compressed ${CMAKE_BINARY_DIR}/data/changelog.gz)
add_custom_target(quintrel_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/data/changelog.gz ${CMAKE_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${QUINTREL_DOCDIR})

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

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
