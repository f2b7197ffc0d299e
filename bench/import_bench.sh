#!/usr/bin/env bash
# Times `tamcad import` at default settings against the raw Open CASCADE pipeline (occt_pipeline:
# XCAF read and transfer, BRepMesh of every part at the same deflection, one thread) on the same
# STEP files, side by side in one run: per file the wall-clock and CPU times of both (best of N
# runs each, the two programs alternating) and their ratios, then the totals.
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

# "wall cpu" seconds of one run of the command (cpu = user + system), output discarded; failures
# still count. Wall time is what the target is about; CPU time is steadier on a busy machine.
measure() {
    local TIMEFORMAT='%R %U %S'
    { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}

# The better of two "wall cpu" pairs, field by field.
best() {
    echo "$1 $2" | awk '{ w = ($1 < $3) ? $1 : $3; c = ($2 < $4) ? $2 : $4; print w, c }'
}

# One line per file: name, then wall and CPU seconds of occt_pipeline and of tamcad (best of N).
for f in "${files[@]}"; do
    best_occt="1e9 1e9"
    best_tamcad="1e9 1e9"
    for ((i = 0; i < runs; i++)); do
        best_occt=$(best "$best_occt" "$(measure "$pipeline" "$f")")
        best_tamcad=$(best "$best_tamcad" "$(measure "$tamcad" import -q "$f")")
    done
    echo "$(basename "$f") $best_occt $best_tamcad"
done | awk '
    BEGIN {
        printf "%-38s %8s %8s %6s   %8s %8s %6s\n", "file", "occt", "tamcad", "ratio", "occt", "tamcad", "ratio"
        printf "%-38s %8s %8s %6s   %8s %8s %6s\n", "", "wall s", "wall s", "", "cpu s", "cpu s", ""
    }
    {
        wr = $4 / $2; cr = $5 / $3
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f\n", $1, $2, $4, wr, $3, $5, cr
        ow += $2; oc += $3; tw += $4; tc += $5; n++
        if (wr > worst_wall) { worst_wall = wr; worst_wall_file = $1 }
        if (cr > worst_cpu) { worst_cpu = cr; worst_cpu_file = $1 }
    }
    END {
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f\n", "TOTAL (" n " files)", ow, tw, tw / ow, oc, tc, tc / oc
        printf "worst file: wall %s (%.2f), cpu %s (%.2f)\n", worst_wall_file, worst_wall, worst_cpu_file, worst_cpu
    }'
