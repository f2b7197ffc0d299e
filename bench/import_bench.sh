#!/usr/bin/env bash
# Times `tamcad import` at default settings against the raw Open CASCADE pipeline (occt_pipeline:
# XCAF read and transfer, BRepMesh of every part at the same deflection, one thread) on the same
# STEP files, side by side in one run: per file the two wall-clock times (best of N runs each, the
# two programs alternating) and their ratio, then the totals.
#
#   bench/import_bench.sh [-n RUNS] [-b BUILD_DIR] [FILE...]
#
# Without files it takes every STEP file of ../shared/cad-corpus/step. The target is a ratio of at
# most 1.2 in total and per file.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=1
build=build/default
while getopts "n:b:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        b) build=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] [-b BUILD_DIR] [FILE...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

tamcad=$build/apps/tamcad/tamcad
pipeline=$build/bench/occt_pipeline
for exe in "$tamcad" "$pipeline"; do
    [[ -x $exe ]] || { echo "import_bench: $exe is missing; build with TAM_BUILD_BENCH=ON" >&2; exit 1; }
done

files=("$@")
if ((${#files[@]} == 0)); then
    shopt -s nullglob
    files=(../shared/cad-corpus/step/*.stp ../shared/cad-corpus/step/*.step)
fi
((${#files[@]})) || { echo "import_bench: no STEP files" >&2; exit 1; }

# Wall-clock nanoseconds of one run of the command, its output discarded (failures still count).
nanoseconds_of() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $((end - start))
}

# One line per file: name, best occt time, best tamcad time (nanoseconds); awk makes the table.
for f in "${files[@]}"; do
    best_occt=0
    best_tamcad=0
    for ((i = 0; i < runs; i++)); do
        t=$(nanoseconds_of "$pipeline" "$f")
        if ((best_occt == 0 || t < best_occt)); then best_occt=$t; fi
        t=$(nanoseconds_of "$tamcad" import "$f")
        if ((best_tamcad == 0 || t < best_tamcad)); then best_tamcad=$t; fi
    done
    echo "$(basename "$f") $best_occt $best_tamcad"
done | awk '
    BEGIN { printf "%-40s %10s %10s %7s\n", "file", "occt s", "tamcad s", "ratio" }
    {
        occt = $2 / 1e9; tam = $3 / 1e9; ratio = tam / occt
        printf "%-40s %10.3f %10.3f %7.2f\n", $1, occt, tam, ratio
        total_occt += occt; total_tam += tam; n++
        if (ratio > worst) { worst = ratio; worst_file = $1 }
    }
    END {
        printf "%-40s %10.3f %10.3f %7.2f\n", "TOTAL (" n " files)", total_occt, total_tam, total_tam / total_occt
        printf "worst file: %s (%.2f)\n", worst_file, worst
    }'
