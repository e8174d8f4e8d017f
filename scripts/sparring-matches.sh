#!/usr/bin/env bash
# Plays Master through pbrain-referee against the tournament engine in
# ../shared/sparring/rapfi on each board and rule, one match at a time, and
# prints each game and RESULT with both brains' depth and time figures.
# Games start from the empty board, colours alternating; OPENING > 0 lays
# that many random stones first, the same for each pair of games.
#   scripts/sparring-matches.sh [BUILD_DIR] [STRENGTH] [GAMES] [TURN_MS] [OPENING] [SIZE:RULE ...]
# Defaults: build/rel, strength 30, 10 games, 1000 ms, 0, 15:0 20:0 15:1 15:4 19:0.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/rel}; strength=${2:-30}; games=${3:-10}; turn=${4:-1000}; opening=${5:-0}
shift $(( $# < 5 ? $# : 5 ))
boards=("$@"); [ ${#boards[@]} -eq 0 ] && boards=(15:0 20:0 15:1 15:4 19:0)
rapfi=../shared/sparring/rapfi/pbrain-rapfi
cmake --build "$build" --target pbrain-quintrel pbrain-referee > /dev/null
for board in "${boards[@]}"; do
  size=${board%:*}; rule=${board#*:}
  echo "== ${size}x${size} rule $rule, strength $strength, $games games at $turn ms"
  "$build/tools/pbrain-referee" --games "$games" --size "$size" --rule "$rule" \
    --opening "$opening" --seed "$size$rule" --timeout-turn "$turn" --info-b "strength=$strength" \
    "$build/tools/pbrain-quintrel --player Master" "$rapfi" | sed "s|$build/tools/pbrain-quintrel --player ||g; s|$rapfi|rapfi|g"
done
