#!/usr/bin/env bash
# Sets up what is missing, builds the native release tree and runs the renderer on its built-in
# default. Extra arguments go to kyrox-render.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target kyrox-render Kyrox
exec build/linux/minihost/kyrox-render --plugin build/linux/plugin/Kyrox.so "$@"
