#!/usr/bin/env bash
# Installs what is needed, builds Zorv and starts it; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zorv
exec ./build/zorv "$@"
