# The Debian package: `cpack -G DEB` in a build folder turns what the install
# rules place into quintrel_<version>_<architecture>.deb. scripts/package.sh
# makes one from a Release build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quintrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zekta)
set(CPACK_PACKAGE_CONTACT "${QUINTREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "five in a row on a 19 x 19 board against the computer")
set(CPACK_PACKAGE_DESCRIPTION
"Quintrel++ is a desktop game of five in a row. Play against six kinds of
computer players, from a random mover to an alpha-beta search with threat
extensions, against Master, a strong timed engine, or against any Gomocup
brain as an Engine player; save and reopen games, step through the history,
replay, ask for advice, and watch what the engine thinks in a log window and
in board overlays.
.
The package also holds pbrain-quintrel, which plays any of the computer
players in a Gomoku manager over the pbrain protocol (Master on every board
from 5 x 5 to 22 x 22, freestyle, standard or renju), quintrel-match, which
plays matches without a window, and pbrain-referee, which plays two pbrain
programs against each other under any of those rules.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUINTREL_HOMEPAGE}")
# Library dependencies come from the binaries (dpkg-shlibdeps); Qt opens no
# window without its platform plugins, which libqt6gui6 only recommends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
