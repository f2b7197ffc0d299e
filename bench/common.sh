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

# The better of two "wall cpu" pairs, field by field.
best() {
    echo "$1 $2" | awk '{ w = ($1 < $3) ? $1 : $3; c = ($2 < $4) ? $2 : $4; print w, c }'
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
