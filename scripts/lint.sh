#!/usr/bin/env bash
# Checks formatting and runs clang-tidy over the library (needs a configured build/ directory).
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.h' '*.cc')
clang-format --dry-run -Werror $files
[ -f build/compile_commands.json ] || cmake -S . -B build -G Ninja >/dev/null
clang-tidy -p build --quiet $(git ls-files 'src/*.cc' 'tools/*.cc')
