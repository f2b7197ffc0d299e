#!/usr/bin/env bash
# Cost of levels of detail in a whole import: `tamcad import --lod 5` against `tamcad import
# --lod 1` on the same STEP files, side by side in one run (best of N runs each, the two
# alternating), by wall-clock and by CPU time (user + system), per file and in total over the
# files. Target: five levels at most 1.15 times one level in total. Both run without the cache,
# so that each run translates and meshes.
#
#   bench/lod_bench.sh [-n RUNS] [-b BUILD_DIR] [FILE...]
#
# Without files it takes every STEP file of ../shared/cad-corpus/step. That every coarser level
# stays within its own tolerance of the surface is checked by the kernel's tests, not here.
bench_name=lod_bench
source "$(dirname "$0")/common.sh"

for f in "${files[@]}"; do
    best_one="1e9 1e9"
    best_five="1e9 1e9"
    for ((i = 0; i < runs; i++)); do
        best_one=$(best "$best_one" "$(measure /dev/null "$tamcad" import -q --no-cache --lod 1 "$f")")
        best_five=$(best "$best_five" "$(measure /dev/null "$tamcad" import -q --no-cache --lod 5 "$f")")
    done
    echo "$(basename "$f") $best_one $best_five"
done | awk '
    BEGIN {
        printf "%-38s %8s %8s %6s   %8s %8s %6s\n", "file", "lod 1", "lod 5", "ratio", "lod 1", "lod 5", "ratio"
        printf "%-38s %8s %8s %6s   %8s %8s %6s\n", "", "wall s", "wall s", "", "cpu s", "cpu s", ""
    }
    {
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f\n", $1, $2, $4, $4 / $2, $3, $5, $5 / $3
        ow += $2; oc += $3; fw += $4; fc += $5; n++
    }
    END {
        printf "%-38s %8.3f %8.3f %6.2f   %8.3f %8.3f %6.2f\n", "TOTAL (" n " files)", ow, fw, fw / ow, oc, fc, fc / oc
        printf "target: five levels / one level <= 1.15 in total (wall %.2f, cpu %.2f)\n", fw / ow, fc / oc
    }'
