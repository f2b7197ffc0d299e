#!/usr/bin/env bash
# Configures and builds one CMake preset, all of it or the named targets:
#   scripts/build.sh [default|asan] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
shift || true
targets=()
(($#)) && targets=(--target "$@")
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --parallel "$(nproc)" "${targets[@]}"
