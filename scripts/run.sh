#!/usr/bin/env bash
# Installs what is missing, builds the library and the foldwise tool, fills a fresh data
# directory with the tool's demonstration of the workflow and shows what it holds.
#   scripts/run.sh [DIR]   (default build/demo-data, made afresh each run; a DIR given must be
#                          new or hold no folder files, and is never deleted)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target foldwise_cli
dir="${1:-build/demo-data}"
[ -n "${1:-}" ] || rm -rf "$dir"
./build/foldwise demo "$dir"
echo
./build/foldwise status "$dir"
echo
./build/foldwise list "$dir" voice
echo
./build/foldwise list "$dir" outbox
