#!/usr/bin/env bash
# Installs what is missing, builds the project and runs every test.
#   scripts/test.sh             the regular build, in build/
#   scripts/test.sh --sanitize  the same tests under AddressSanitizer and UBSan, in build-asan/
#   scripts/test.sh --tsan      the same tests under ThreadSanitizer, in build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build_dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLDWISE_BUILD_TESTS=ON -DFOLDWISE_BUILD_BENCHMARKS=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DFOLDWISE_SANITIZE=ON -DFOLDWISE_BUILD_TESTS=ON -DFOLDWISE_BUILD_BENCHMARKS=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "${1:-}" = "--tsan" ]; then
  build_dir=build-tsan
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLDWISE_TSAN=ON -DFOLDWISE_BUILD_TESTS=ON -DFOLDWISE_BUILD_BENCHMARKS=OFF -DFOLDWISE_BUILD_TOOLS=OFF)
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
fi
cmake -S . -B "$build_dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure -j2

# A host builds against the installed library through find_package and through pkg-config.
if [ -z "${1:-}" ]; then
  scripts/package-test.sh
fi
