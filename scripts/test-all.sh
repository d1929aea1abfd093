#!/usr/bin/env bash
# Every test the project has, as CI runs it: the regular suite (with the static install used by a
# host), the layer and lint checks, the shared library (soname, exported symbols, a host built
# against its install), the crash, fault and fuzz harness in its bounded form, then the whole
# suite again under the sanitizers (address and undefined behaviour, then threads), and last the
# Windows build under Wine, compared with the Linux build's saved files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/test.sh
scripts/check-layers.sh
scripts/lint.sh
scripts/package-test.sh --shared
scripts/harness-ci.sh
scripts/test.sh --sanitize
scripts/test.sh --tsan
scripts/test-windows.sh
