#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (under AddressSanitizer and UBSan, in build-fuzz/) and
# runs each for a bounded time, starting from the seed corpus in fuzz/corpus/<target>.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
# An input that breaks a promise is left in build-fuzz/artifacts/<target>/; copy it to
# fuzz/regressions/<target>/ and the unit tests replay it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
scripts/install-deps.sh clang libclang-rt-14-dev

build_dir=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFOLDWISE_FUZZ=ON -DFOLDWISE_SANITIZE=ON \
  -DFOLDWISE_BUILD_TESTS=OFF -DFOLDWISE_BUILD_BENCHMARKS=OFF -DFOLDWISE_BUILD_TOOLS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build_dir" --target folder_file_fuzzer record_text_fuzzer

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in folder_file record_text; do
  work="$build_dir/corpus/$target"
  artifacts="$build_dir/artifacts/$target/"
  mkdir -p "$work" "$artifacts"
  echo "== ${target}_fuzzer for ${seconds}s"
  "$build_dir/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$work" "fuzz/corpus/$target" 2>&1 | grep -E '^(Done|stat::|values tried|broken promise|==[0-9]+==ERROR|SUMMARY)' ||
    true
  if [ "${PIPESTATUS[0]}" -ne 0 ]; then
    echo "${target}_fuzzer found a failing input: see $artifacts" >&2
    status=1
  fi
done
exit "$status"
