#!/usr/bin/env bash
# The reliability harness, bounded for CI (a few minutes): a short kill loop with a fresh seed
# (the unit tests run one too) and each fuzz target for 20 seconds from the seed corpus.
# Longer runs: scripts/kill-loop.sh 1000, scripts/fuzz.sh 600.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/kill-loop.sh 100 --seconds 60
scripts/fuzz.sh 20
