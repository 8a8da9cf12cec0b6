#!/usr/bin/env bash
# Rewrites the pinned reference frames under tests/minihost/reference_frames from the native release
# build. Run it only when a change is meant to alter what the effect draws, and commit the frames
# with that change; the tests never rewrite them on their own.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/linux/CMakeCache.txt ] || cmake --preset linux >/dev/null
cmake --build --preset linux --target kyrox_minihost_tests Kyrox >/dev/null
KYROX_REFRESH_REFERENCE_FRAMES=1 build/linux/tests/minihost/kyrox_minihost_tests \
  --gtest_filter=ReferenceFrames.EveryCaseDrawsItsPinnedFrame
ls -l tests/minihost/reference_frames
