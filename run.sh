#!/usr/bin/env bash
# Sets up what is missing, builds a Release and starts the game from the
# repository root, where the user guide (readme.txt) is found.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTREL_TESTS=OFF > /dev/null
cmake --build build/release -j "$(nproc)"
if [ -x build/release/quintrel ]; then
  exec build/release/quintrel "$@"
fi
echo "The game window is not built yet; running the benchmarks instead."
for b in build/release/bench/*_bench; do
  [ -x "$b" ] && "$b"
done
