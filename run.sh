#!/usr/bin/env bash
# Sets up what is missing, builds a Release and starts the game from the
# repository root, where the user guide (readme.txt) is found.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQUINTREL_TESTS=OFF -DQUINTREL_BENCH=OFF > /dev/null
cmake --build build/release -j "$(nproc)" --target quintrel
exec build/release/quintrel "$@"
