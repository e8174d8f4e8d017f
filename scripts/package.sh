#!/usr/bin/env bash
# Builds a Release and makes the Debian package of the game with CPack;
# prints the path of the package last. Install it with
#   sudo apt install ./build/package/quintrel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQUINTREL_TESTS=OFF -DQUINTREL_BENCH=OFF > /dev/null
cmake --build build/release -j "$(nproc)"
mkdir -p build/package
rm -f build/package/quintrel_*.deb
cpack --config build/release/CPackConfig.cmake -G DEB -B build/package > build/package/cpack.log 2>&1 ||
  { cat build/package/cpack.log; exit 1; }
deb=$(ls build/package/quintrel_*.deb)
# Lintian's verdict, for the record; its errors fail the packaging.
if command -v lintian > /dev/null; then
  lintian --fail-on error "$deb"
fi
realpath "$deb"
