#!/usr/bin/env bash
# Runs clang-tidy over the Win32 layer with the compile database of a mingw-w64 build
# (scripts/test-windows.sh makes one in build-windows/main). clang is told the Windows target and
# given the C++ library headers of Debian's mingw-w64 compiler (not GCC's own intrinsics, which
# clang cannot read), and the one GCC-only flag of that build is dropped from the database.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows/main}
compiler=${FOLDWISE_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
database=$(mktemp -d)
trap 'rm -rf "$database"' EXIT
sed 's/-fno-keep-inline-dllexport//g' "$build/compile_commands.json" >"$database/compile_commands.json"
args=(--extra-arg-before=--target=x86_64-w64-mingw32)
while read -r dir; do
  args+=("--extra-arg=-isystem$dir")
done < <(echo | "$compiler" -xc++ -E -v - 2>&1 |
  sed -n '/#include <...> search starts here/,/End of search list/p' | sed -n 's/^ \(\/.*\/c++.*\)$/\1/p')
clang-tidy -p "$database" --quiet "${args[@]}" $(git ls-files 'src/platform/win32/*.cc') 2>&1 |
  { grep -v ' warnings generated\.$' || true; }
exit "${PIPESTATUS[0]}"
