#!/usr/bin/env bash
# Sets up what is missing, builds the native release tree and runs the renderer on its built-in
# default. Extra arguments go to kyrox-render, which runs in the caller's folder: relative --scene
# and --output paths mean what they say there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
(
  cd "$root"
  tools/setup.sh
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j "$(nproc)" --target kyrox-render Kyrox >&2
)
exec "$root/build/linux/minihost/cli/kyrox-render" --plugin "$root/build/linux/plugin/Kyrox.so" "$@"
