#!/usr/bin/env bash
# README command B: installs what is missing, builds, and runs every test twice: in the
# optimised build and under AddressSanitizer/UndefinedBehaviorSanitizer (leaks included), where
# the libFuzzer targets also run briefly (label fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in default asan; do
    echo "== build: $preset"
    scripts/build.sh "$preset"
    echo "== test: $preset"
    ctest --preset "$preset"
done
