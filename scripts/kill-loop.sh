#!/usr/bin/env bash
# Kills a driver process working on every folder family N times (default 1000) at random
# moments and checks every folder file against the model after each kill.
#   scripts/kill-loop.sh [N] [--seed X]
# Builds build/ first when the kill loop is not there; the work directory is build/kill-loop-N.
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-1000}
shift || true
if [ ! -x build/foldwise_kill_loop ]; then
  scripts/install-deps.sh
  cmake -S . -B build -G Ninja >/dev/null
fi
cmake --build build --target foldwise_kill_loop >/dev/null
exec build/foldwise_kill_loop --kills "$kills" --dir "build/kill-loop-$kills" "$@"
