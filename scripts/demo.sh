#!/usr/bin/env bash
# README command A: installs what is missing, builds, and imports the bundled sample assembly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default
tamcad=build/default/apps/tamcad/tamcad
if [[ ! -x "$tamcad" ]]; then
    echo "demo: built the library; the tamcad host is not there yet, so nothing is imported"
    exit 0
fi
mkdir -p out
"$tamcad" import samples/sample_assembly.step -o out/sample_assembly.glb
"$tamcad" import samples/sample_assembly.step -o out/sample_assembly.png
echo "demo: wrote out/sample_assembly.glb and out/sample_assembly.png"
