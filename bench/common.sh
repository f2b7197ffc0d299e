# Shared by the shell benchmarks that time `tamcad import` against occt_pipeline_bench
# (import_bench.sh, reimport_bench.sh); each sources it after setting bench_name. It reads the
# options [-n RUNS] [-b BUILD_DIR] [FILE...] and sets runs, tamcad, pipeline, files (every STEP
# file of ../shared/cad-corpus/step without FILE) and scratch (a temporary folder removed on exit).
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
    [[ -x $exe ]] || { echo "$bench_name: $exe is missing; build with TAM_BUILD_BENCH=ON" >&2; exit 1; }
done

files=("$@")
if ((${#files[@]} == 0)); then
    shopt -s nullglob
    files=(../shared/cad-corpus/step/*.stp ../shared/cad-corpus/step/*.step)
fi
((${#files[@]})) || { echo "$bench_name: no STEP files" >&2; exit 1; }

# "wall cpu" seconds of one run of the command (cpu = user + system); its output goes to the file
# named by the first argument, messages are discarded; failures still count. CPU time is steadier
# than wall time on a busy machine.
measure() {
    local out=$1
    shift
    local TIMEFORMAT='%R %U %S'
    { time "$@" >"$out" 2>/dev/null; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}

# "wall cpu peak" of one run: as measure, and the peak resident memory in MB (ru_maxrss, from
# GNU time); failures still count.
measure_peak() {
    local out=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$scratch/time" "$@" >"$out" 2>/dev/null || true
    # The figures are the last line (a failed command's exit status comes first).
    tail -n 1 "$scratch/time" | awk '{ printf "%.3f %.3f %.1f\n", $1, $2 + $3, $4 / 1024 }'
}

# The better (smaller) of two equally long lists of figures, field by field.
best() {
    echo "$1 $2" | awk '{ h = NF / 2; for (i = 1; i <= h; i++) printf "%s%s", (i > 1 ? " " : ""), ($i < $(i + h)) ? $i : $(i + h); print "" }'
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
