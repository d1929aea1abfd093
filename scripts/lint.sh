#!/usr/bin/env bash
# Checks formatting and runs clang-tidy over the library; configures build/ when it has no
# compile database yet.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.h' '*.cc')
clang-format --dry-run -Werror $files
[ -f build/compile_commands.json ] || cmake -S . -B build -G Ninja >/dev/null
# The Win32 layer is not in the Linux compile database: scripts/test-windows.sh checks it with
# the mingw build's (scripts/lint-win32.sh).
clang-tidy -p build --quiet $(git ls-files 'src/*.cc' 'tools/*.cc' | grep -v '^src/platform/win32/') 2>&1 |
  { grep -v ' warnings generated\.$' || true; }
exit "${PIPESTATUS[0]}"
