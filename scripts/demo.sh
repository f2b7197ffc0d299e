#!/usr/bin/env bash
# README command A: installs what is missing, builds, and imports the bundled sample assembly:
# prints the import summary and writes out/sample_assembly.glb and out/sample_assembly.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default tamcad
tamcad=build/default/apps/tamcad/tamcad
if [[ ! -x "$tamcad" ]]; then
    echo "demo: $tamcad was not built" >&2
    exit 1
fi
mkdir -p out
"$tamcad" import samples/sample_assembly.step -o out/sample_assembly.glb -o out/sample_assembly.png
echo "demo: wrote out/sample_assembly.glb and out/sample_assembly.png"
