#!/bin/sh
# The engine's layers: no Qt below the user interface; the strong engine on
# the standard library alone; the players never reach up to the searches or
# the catalogue that makes every kind, nor the searches to the catalogue.
# Prints each offending include and fails when there is one.
cd "$(dirname "$0")/../src" || exit 2
status=0
check() { # what, folders..., -- pattern
  what=$1; shift
  dirs=""; while [ "$1" != "--" ]; do dirs="$dirs $1"; shift; done; shift
  if grep -rnE "$1" $dirs; then echo "^ $what"; status=1; fi
}
check "the engine includes Qt" board players search catalogue game app master -- '#include <Q'
check "the strong engine includes the game's own code" master -- '#include "(board|players|search|catalogue|game|app|ui)/'
check "a player includes a search or the catalogue" players -- '#include "(search|catalogue)/'
check "a search includes the catalogue" search -- '#include "catalogue/'
exit $status
