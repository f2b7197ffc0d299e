#!/usr/bin/env bash
# Times re-imports through tamcad's cache against the first import and the raw Open CASCADE
# pipeline (occt_pipeline_bench: XCAF read and transfer, BRepMesh of every part), side by side in one
# run. Per file, best of N rounds each:
#   occt    the raw pipeline
#   first   `tamcad import` into an empty cache folder (translates, meshes, stores the entry)
#   again   `tamcad import` of the unchanged file (the entry replaces translation and meshing)
# and the ratios first/again (target: at least 5) and occt/again (target: at least 3), by wall
# and by CPU time (user + system), then the totals. The cache folder is a private temporary one.
#
#   bench/reimport_bench.sh [-n RUNS] [-b BUILD_DIR] [FILE...]
#
# Without files it takes every STEP file of ../shared/cad-corpus/step.
bench_name=reimport_bench
source "$(dirname "$0")/common.sh"

for f in "${files[@]}"; do
    best_occt="1e9 1e9"
    best_first="1e9 1e9"
    best_again="1e9 1e9"
    for ((i = 0; i < runs; i++)); do
        rm -rf "$scratch/cache"
        best_occt=$(best "$best_occt" "$(measure /dev/null "$pipeline" "$f")")
        best_first=$(best "$best_first" "$(measure /dev/null "$tamcad" import -q --cache-dir "$scratch/cache" "$f")")
        best_again=$(best "$best_again" "$(measure /dev/null "$tamcad" import -q --cache-dir "$scratch/cache" "$f")")
    done
    echo "$(basename "$f") $best_occt $best_first $best_again"
done | awk '
    BEGIN {
        printf "%-34s %7s %7s %7s %6s %6s   %7s %7s %7s %6s %6s\n", "file", "occt", "first", "again", "f/a", "o/a", "occt", "first", "again", "f/a", "o/a"
        printf "%-34s %7s %7s %7s %6s %6s   %7s %7s %7s %6s %6s\n", "", "wall s", "wall s", "wall s", "", "", "cpu s", "cpu s", "cpu s", "", ""
    }
    {
        printf "%-34s %7.3f %7.3f %7.3f %6.1f %6.1f   %7.3f %7.3f %7.3f %6.1f %6.1f\n", $1, $2, $4, $6, $4 / $6, $2 / $6, $3, $5, $7, $5 / $7, $3 / $7
        ow += $2; oc += $3; fw += $4; fc += $5; aw += $6; ac += $7; n++
    }
    END {
        printf "%-34s %7.3f %7.3f %7.3f %6.1f %6.1f   %7.3f %7.3f %7.3f %6.1f %6.1f\n", "TOTAL (" n " files)", ow, fw, aw, fw / aw, ow / aw, oc, fc, ac, fc / ac, oc / ac
        printf "targets: first/again >= 5 (wall %.1f, cpu %.1f), occt/again >= 3 (wall %.1f, cpu %.1f)\n", fw / aw, fc / ac, ow / aw, oc / ac
    }'
