#!/usr/bin/env bash
# Times `tamcad import` at default settings against the raw Open CASCADE pipeline (occt_pipeline_bench:
# XCAF read and transfer, BRepMesh of every part at the same deflection, one thread) on the same
# STEP files, side by side in one run: per file the wall-clock and CPU times of both (best of N
# runs each, the two programs alternating) and their ratios, the triangles each reports (equal
# counts show the same deflection), then the totals. tamcad imports into an empty private cache
# folder each time: a first import, which stores its cache entry (bench/reimport_bench.sh times
# the re-import).
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
pipeline=$build/bench/occt_pipeline_bench
for exe in "$tamcad" "$pipeline"; do
    [[ -x $exe ]] || { echo "import_bench: $exe is missing; build with TAM_BUILD_BENCH=ON" >&2; exit 1; }
done

files=("$@")
if ((${#files[@]} == 0)); then
    shopt -s nullglob
    files=(../shared/cad-corpus/step/*.stp ../shared/cad-corpus/step/*.step)
fi
((${#files[@]})) || { echo "import_bench: no STEP files" >&2; exit 1; }

# "wall cpu" seconds of one run of the command (cpu = user + system); its output goes to the file
# named by the first argument, messages are discarded; failures still count. Wall time is what the
# target is about; CPU time is steadier on a busy machine.
measure() {
    local out=$1
    shift
    local TIMEFORMAT='%R %U %S'
    { time "$@" >"$out" 2>/dev/null; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}

# The better of two "wall cpu" pairs, field by field.
best() {
    echo "$1 $2" | awk '{ w = ($1 < $3) ? $1 : $3; c = ($2 < $4) ? $2 : $4; print w, c }'
}

# Triangles each program reports: occt_pipeline_bench over the placed instances, tamcad in its summary.
# Equal counts show that both meshed at the same deflection.
occt_triangles() { awk '{ for (i = 1; i < NF; i++) if ($i == "placed") t = $(i + 1) } END { print t + 0 }' "$1"; }
tamcad_triangles() { awk '$1 == "triangles" { t = $2 } END { print t + 0 }' "$1"; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One line per file: name, wall and CPU seconds of occt_pipeline_bench and of tamcad (best of N), then
# the triangles of each.
for f in "${files[@]}"; do
    best_occt="1e9 1e9"
    best_tamcad="1e9 1e9"
    for ((i = 0; i < runs; i++)); do
        best_occt=$(best "$best_occt" "$(measure "$scratch/occt" "$pipeline" "$f")")
        rm -rf "$scratch/cache"  # a first import: nothing cached yet (the entry is stored)
        best_tamcad=$(best "$best_tamcad" "$(measure "$scratch/tamcad" "$tamcad" import -q --cache-dir "$scratch/cache" "$f")")
    done
    echo "$(basename "$f") $best_occt $best_tamcad" \
        "$(occt_triangles "$scratch/occt") $(tamcad_triangles "$scratch/tamcad")"
done | awk '
    BEGIN {
        printf "%-38s %8s %8s %6s   %8s %8s %6s   %9s %9s\n", "file", "occt", "tamcad", "ratio", "occt", "tamcad", "ratio", "occt", "tamcad"
        printf "%-38s %8s %8s %6s   %8s %8s %6s   %9s %9s\n", "", "wall s", "wall s", "", "cpu s", "cpu s", "", "triangles", "triangles"
    }
    {
        wr = $4 / $2; cr = $5 / $3
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f   %9d %9d%s\n", $1, $2, $4, wr, $3, $5, cr, $6, $7, ($6 == $7) ? "" : " *"
        if ($6 != $7) differ++
        if (wr <= 1.2) wall_ok++
        if (cr <= 1.2) cpu_ok++
        ow += $2; oc += $3; tw += $4; tc += $5; n++
        if (wr > worst_wall) { worst_wall = wr; worst_wall_file = $1 }
        if (cr > worst_cpu) { worst_cpu = cr; worst_cpu_file = $1 }
    }
    END {
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f\n", "TOTAL (" n " files)", ow, tw, tw / ow, oc, tc, tc / oc
        printf "worst file: wall %s (%.2f), cpu %s (%.2f)\n", worst_wall_file, worst_wall, worst_cpu_file, worst_cpu
        printf "files within 1.2: wall %d of %d, cpu %d of %d\n", wall_ok, n, cpu_ok, n
        if (differ) printf "* %d file(s) with different triangle counts\n", differ
    }'
