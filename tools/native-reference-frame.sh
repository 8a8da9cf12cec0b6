#!/usr/bin/env bash
# Writes the native build's reference frame that the Windows run of the frame tests compares its
# own frame with: builds the native release tree's small-host tests when needed and runs the one
# test that writes the frame. The Windows tests run this first, so they never run without it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/linux/CMakeCache.txt ] || cmake --preset linux >/dev/null
cmake --build --preset linux --target kyrox_minihost_tests Kyrox >/dev/null
exec build/linux/tests/minihost/kyrox_minihost_tests --gtest_filter=FrameRender.NativeAndWindowsBuildsDrawTheSameFrame
