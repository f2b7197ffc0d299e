#!/usr/bin/env bash
# Times `tamcad import` at default settings against the raw Open CASCADE pipeline (occt_pipeline_bench:
# XCAF read and transfer, BRepMesh of every part at the same deflection, one thread) on the same
# STEP files, side by side in one run: per file the wall-clock and CPU times and the peak resident
# memory of both (best of N runs each, the two programs alternating) and their ratios, the
# triangles each reports (equal counts show the same deflection), then the totals. tamcad imports into an empty private cache
# folder each time: a first import, which stores its cache entry (bench/reimport_bench.sh times
# the re-import).
#
#   bench/import_bench.sh [-n RUNS] [-b BUILD_DIR] [FILE...]
#
# Without files it takes every STEP file of ../shared/cad-corpus/step. The target is a ratio of at
# most 1.2 in total and per file; in total at most 0.85 by wall, 1.05 by CPU and 1.1 in peak
# memory (the sum over files of each program's peak).
bench_name=import_bench
source "$(dirname "$0")/common.sh"

# Triangles each program reports: occt_pipeline_bench over the placed instances, tamcad in its summary.
# Equal counts show that both meshed at the same deflection.
occt_triangles() { awk '{ for (i = 1; i < NF; i++) if ($i == "placed") t = $(i + 1) } END { print t + 0 }' "$1"; }
tamcad_triangles() { awk '$1 == "triangles" { t = $2 } END { print t + 0 }' "$1"; }

# One line per file: name, wall and CPU seconds of occt_pipeline_bench and of tamcad (best of N), then
# the triangles of each.
for f in "${files[@]}"; do
    best_occt="1e9 1e9 1e9"
    best_tamcad="1e9 1e9 1e9"
    for ((i = 0; i < runs; i++)); do
        best_occt=$(best "$best_occt" "$(measure_peak "$scratch/occt" "$pipeline" "$f")")
        rm -rf "$scratch/cache"  # a first import: nothing cached yet (the entry is stored)
        best_tamcad=$(best "$best_tamcad" "$(measure_peak "$scratch/tamcad" "$tamcad" import -q --cache-dir "$scratch/cache" "$f")")
    done
    echo "$(basename "$f") $best_occt $best_tamcad" \
        "$(occt_triangles "$scratch/occt") $(tamcad_triangles "$scratch/tamcad")"
done | awk '
    BEGIN {
        printf "%-38s %8s %8s %6s   %8s %8s %6s   %7s %7s %6s   %9s %9s\n", "file", "occt", "tamcad", "ratio", "occt", "tamcad", "ratio", "occt", "tamcad", "ratio", "occt", "tamcad"
        printf "%-38s %8s %8s %6s   %8s %8s %6s   %7s %7s %6s   %9s %9s\n", "", "wall s", "wall s", "", "cpu s", "cpu s", "", "peak MB", "peak MB", "", "triangles", "triangles"
    }
    {
        wr = $5 / $2; cr = $6 / $3; pr = $7 / $4
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f   %7.1f %7.1f %6.2f   %9d %9d%s\n", $1, $2, $5, wr, $3, $6, cr, $4, $7, pr, $8, $9, ($8 == $9) ? "" : " *"
        if ($8 != $9) differ++
        if (wr <= 1.2) wall_ok++
        if (cr <= 1.2) cpu_ok++
        ow += $2; oc += $3; op += $4; tw += $5; tc += $6; tp += $7; n++
        if (wr > worst_wall) { worst_wall = wr; worst_wall_file = $1 }
        if (cr > worst_cpu) { worst_cpu = cr; worst_cpu_file = $1 }
        if (pr > worst_peak) { worst_peak = pr; worst_peak_file = $1 }
    }
    END {
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f   %7.1f %7.1f %6.2f\n", "TOTAL (" n " files)", ow, tw, tw / ow, oc, tc, tc / oc, op, tp, tp / op
        printf "targets in total: wall <= 0.85 (%.2f), cpu <= 1.05 (%.2f), peak memory <= 1.1 (%.2f)\n", tw / ow, tc / oc, tp / op
        printf "worst file: wall %s (%.2f), cpu %s (%.2f), peak memory %s (%.2f)\n", worst_wall_file, worst_wall, worst_cpu_file, worst_cpu, worst_peak_file, worst_peak
        printf "files within 1.2: wall %d of %d, cpu %d of %d\n", wall_ok, n, cpu_ok, n
        if (differ) printf "* %d file(s) with different triangle counts\n", differ
    }'
