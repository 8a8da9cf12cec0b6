#!/usr/bin/env bash
# Sets up what is missing, checks the C++ files' formatting, builds the native tree (under
# AddressSanitizer + UBSan, and under ThreadSanitizer for the threaded code), the release tree with the
# benchmarks, the fuzz targets (clang) and the Windows tree, and runs every test; the Windows tests run
# under Wine, each fuzz target briefly from its seeds. Fails when the formatting, any build or any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

export KYROX_WERROR=${KYROX_WERROR:-ON}
jobs=$(nproc)

step() { echo; echo "== $*"; }

step "format"
tools/format.sh --check

for preset in linux-asan linux-tsan linux fuzz windows; do
  step "configure and build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

for preset in linux-asan linux-tsan fuzz windows; do
  step "test: $preset"
  ctest --preset "$preset"
done

# Resident sizes mean something only without sanitizers: the memory check's estimate against a real run.
step "test: linux, peak memory"
ctest --preset linux -L peak_memory
