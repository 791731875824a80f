#!/usr/bin/env bash
# Installs the dependencies, builds Orvi and starts it. Without a parallel port the
# simulated turntable is used.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
args=()
if ! ls /dev/parport* >/dev/null 2>&1; then args+=(--simulate); fi
exec ./build/orvi "${args[@]}" "$@"
