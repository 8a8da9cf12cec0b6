#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and this machine lacks.
# Quick and silent when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev llvm
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpng-dev libopenexr-dev libfreetype-dev nlohmann-json3-dev fonts-dejavu-core
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine64 wine xvfb xauth libgl1-mesa-dri
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
