#!/usr/bin/env bash
# The self-play gate: the brain of one build against the brain of another
# from the balanced openings, colours swapped, at a short time per move; it
# prints the score of the first with its 95% margin and the Elo difference,
# so that a change is kept on measured games. Record each verdict in
# docs/strength-history.md.
#   scripts/selfplay-gate.sh NEW_BUILD OLD_BUILD [TURN_MS] [OPENINGS] [SIZE RULE]
# The two build folders must differ: the games are told apart by them.
# Defaults: 200 ms, ../shared/sparring/openings-19.txt (60 games), 19, 0.
set -euo pipefail
cd "$(dirname "$0")/.."
new=$1; old=$2; turn=${3:-200}; openings=${4:-../shared/sparring/openings-19.txt}; size=${5:-19}; rule=${6:-0}
for b in "$new" "$old"; do cmake --build "$b" --target pbrain-quintrel pbrain-referee > /dev/null; done
out=$("$new/tools/pbrain-referee" --openings "$openings" --size "$size" --rule "$rule" --timeout-turn "$turn" \
      "$new/tools/pbrain-quintrel --player Master" "$old/tools/pbrain-quintrel --player Master")
echo "$out" | grep -v '^game '
a="$new/tools/pbrain-quintrel --player Master"; b="$old/tools/pbrain-quintrel --player Master"
w=$(echo "$out" | grep -c "; $a wins" || true); l=$(echo "$out" | grep -c "; $b wins" || true)
n=$(echo "$out" | grep -c '^game ' || true)
awk -v w="$w" -v l="$l" -v n="$n" 'BEGIN {
  d = n - w - l; s = (w + d / 2) / n
  # The margin from the spread of the scores of the games (1, 1/2, 0).
  v = (w * (1 - s)^2 + d * (0.5 - s)^2 + l * s^2) / n
  m = 1.96 * sqrt(v / n)
  elo = (s <= 0 || s >= 1) ? "beyond measure" : sprintf("%+.0f", -400 * log(1 / s - 1) / log(10))
  printf "score %.3f +- %.3f over %d games (%d-%d-%d), Elo %s\n", s, m, n, w, l, d, elo
}'
