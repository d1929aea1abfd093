#!/usr/bin/env bash
# Installs what is missing, builds the project, fills a fresh data directory with the foldwise
# tool's demonstration of the workflow and shows what it holds.
#   scripts/run.sh [DIR]   (default build/demo-data; an existing DIR is replaced)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
dir="${1:-build/demo-data}"
rm -rf "$dir"
./build/foldwise demo "$dir"
echo
./build/foldwise status "$dir"
echo
./build/foldwise list "$dir" voice
echo
./build/foldwise list "$dir" outbox
