#!/usr/bin/env bash
# Sets up what is missing, builds and runs every test:
#   build/test   plain build: engine tests, UI tests (offscreen), tools, benchmarks
#   build/asan   engine tests under AddressSanitizer + UndefinedBehaviorSanitizer
#   build/tsan   thread tests under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh

jobs=$(nproc)
configure() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; exit 1; }
}
mkdir -p build
configure build/test
configure build/asan -DQUINTREL_SANITIZE=address -DQUINTREL_UI=OFF -DQUINTREL_BENCH=OFF
configure build/tsan -DQUINTREL_SANITIZE=thread -DQUINTREL_UI=OFF -DQUINTREL_BENCH=OFF

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# A TSan run under a randomised address layout can fail to start on newer kernels.
tsan_run() { if command -v setarch >/dev/null; then setarch "$(uname -m)" -R "$@"; else "$@"; fi; }

status=0
for dir in build/test build/asan build/tsan; do
  echo "== $dir"
  cmake --build "$dir" -j "$jobs"
  if [ "$dir" = build/tsan ]; then
    tsan_run ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
  else
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
  fi
done
exit $status
