#!/usr/bin/env bash
# Installs the Debian packages the builds, tests and tools need (only those
# missing), then configures and builds the given presets (default: linux).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make clang libclang-rt-14-dev googletest clang-format
  g++-mingw-w64-x86-64 wine wine64
  libgtk-3-dev xvfb xauth xdotool imagemagick librsvg2-bin
  tmux python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

presets=("$@")
((${#presets[@]})) || presets=(linux)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
