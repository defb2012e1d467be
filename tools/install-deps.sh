#!/usr/bin/env bash
# Installs what Zorv needs to build, run and test on a Debian machine.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
pkgs=(build-essential cmake ninja-build pkg-config clang
      qt6-base-dev libgl-dev libpugixml-dev libcurl4-openssl-dev
      qt6-translations-l10n # qt6-translations-l10n: Qt's own buttons and dialogs translated
      libgtest-dev libgmock-dev libbenchmark-dev xdg-utils
      python3-xlrd libgif-dev poppler-utils
      bindfs # bindfs: a FUSE file system for the writer's tests (they run where /dev/fuse is)
      libdxflib-dev) # libdxflib-dev: only the DXF reading bench's peer (bench/dxflib.cpp)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get update -qq
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
