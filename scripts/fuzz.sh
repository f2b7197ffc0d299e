#!/usr/bin/env bash
# Builds (when needed) and runs one libFuzzer target of tests/fuzz under AddressSanitizer and
# UndefinedBehaviorSanitizer, or every target with the time split between them:
#   scripts/fuzz.sh [--in BUILD_DIR] TARGET|all SECONDS
# TARGET is kernel_text, kernel_binary, xml, ebom, product_xml, numbers, step or iges. Seeds come
# from tests/data, tests/fuzz/seeds and ../shared/cad-corpus (when present); the growing corpus,
# the log and any crashing input stay in BUILD_DIR/fuzz/TARGET. Exits non-zero on a finding.
# Without --in the fuzz preset's folder build/fuzz is used and the target built when needed; with
# it the targets of that build folder are run as they are (the asan preset's tests do that).
set -euo pipefail
build_dir=
seed_args=()
if [[ ${1:-} == --in ]]; then
    build_dir=$(realpath "${2:?build folder}")
    # The test runs mutate from a fixed seed, so that a run on the same sources repeats itself.
    seed_args=(-seed=1)
    shift 2
fi
cd "$(dirname "$0")/.."
build_dir=${build_dir:-$PWD/build/fuzz}
targets=(kernel_text kernel_binary xml ebom product_xml numbers step iges)
target=${1:?target name or all}
seconds=${2:?seconds}
corpus_dir=../shared/cad-corpus
if ! command -v clang++ >/dev/null ||
    ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    echo "fuzz: needs clang and libFuzzer, which scripts/setup.sh installs" >&2
    exit 2
fi

# Copies the files given as seeds for the target into $seeds, shaped as the target reads them.
collect_seeds() {
    local name=$1 file
    case $name in
    kernel_text)  # the payload: everything after the two header lines
        for file in tests/data/orik/*.okt samples/*.okt; do
            tail -n +3 "$file" >"$seeds/$(basename "$file")"
        done ;;
    kernel_binary)  # the version byte, then the payload after the 28-byte header
        for file in tests/data/orik/*.okb; do
            { printf '\001'; tail -c +29 "$file"; } >"$seeds/$(basename "$file")"
        done ;;
    xml)  # mode byte 0: the bytes as they are
        for file in tests/data/invalid/*.xml tests/fuzz/seeds/ebom/* tests/fuzz/seeds/product_xml/*; do
            { printf '\000'; cat "$file"; } >"$seeds/$(basename "$file")"
        done ;;
    step | iges)
        local extensions=(stp step) folder=$name
        [[ $name == iges ]] && extensions=(igs iges)
        find tests/data samples -name "*.${extensions[0]}" -o -name "*.${extensions[1]}" |
            while read -r file; do cp "$file" "$seeds/"; done
        if [[ -d $corpus_dir/$folder ]]; then
            find "$corpus_dir/$folder" -type f -size -64k -exec cp {} "$seeds/" \;
        else
            echo "fuzz: $corpus_dir absent, seeds from this repository only"
        fi ;;
    *) cp tests/fuzz/seeds/"$name"/* "$seeds/" ;;
    esac
}

run_target() {
    local name=$1 time=$2 limit=10 length=65536 unwind=1
    [[ $name == step || $name == iges ]] && limit=30
    # Open CASCADE is built without frame pointers: the fast unwinder stops at its frames, and the
    # leak suppressions, which name Open CASCADE functions, need the whole allocation stack.
    [[ $name == ebom || $name == step || $name == iges ]] && unwind=0
    local dir=$build_dir/fuzz/$name
    seeds=$dir/seeds
    rm -rf "$seeds" && mkdir -p "$seeds" "$dir/corpus" "$dir/artifacts"
    collect_seeds "$name"
    local status=0
    ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0:allocator_may_return_null=1:fast_unwind_on_malloc=$unwind \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
        "$build_dir/tests/fuzz/fuzz_$name" "$dir/corpus" "$seeds" -max_total_time="$time" \
        -timeout="$limit" -rss_limit_mb=2048 -malloc_limit_mb=65536 -max_len="$length" \
        -print_final_stats=1 "${seed_args[@]}" \
        -artifact_prefix="$dir/artifacts/" >"$dir/last.log" 2>&1 || status=$?
    local figures executions
    figures=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$dir/last.log" | tail -n 1 || true)
    executions=$(grep -Eo 'number_of_executed_units: [0-9]+' "$dir/last.log" | grep -Eo '[0-9]+' || true)
    echo "fuzz $name: ${executions:-?} executions in ${time} s, ${figures:-no coverage figures}"
    if ((status != 0)); then
        echo "fuzz $name: FAILED (exit $status), input in $dir/artifacts, log $dir/last.log:"
        grep -E 'ERROR|SUMMARY|#[0-9]+ 0x' "$dir/last.log" | head -n 30
    fi
    return "$status"
}

# Builds the named targets in the fuzz preset's folder; other folders are used as they are.
build() {
    [[ $build_dir == "$PWD/build/fuzz" ]] && scripts/build.sh fuzz "$@" >/dev/null
    return 0
}

if [[ $target == all ]]; then
    build "${targets[@]/#/fuzz_}"
    each=$((seconds / ${#targets[@]} > 0 ? seconds / ${#targets[@]} : 1))
    failed=0
    for name in "${targets[@]}"; do
        run_target "$name" "$each" || failed=1
    done
    exit "$failed"
fi
build "fuzz_$target"
run_target "$target" "$seconds"
