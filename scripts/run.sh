#!/usr/bin/env bash
# Installs what is missing, builds the project and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
./build/foldwise_attr_demo "${1:-build/demo-data}"
