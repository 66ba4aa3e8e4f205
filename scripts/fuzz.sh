#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs them.
#   scripts/fuzz.sh TARGET SECONDS   fuzzes one target (ini, numbers, bitmap, wave, layout)
#   scripts/fuzz.sh all SECONDS      fuzzes each target in turn
#   scripts/fuzz.sh replay           runs every input of every seed corpus once (for CI)
#   scripts/fuzz.sh build            only builds the fuzz targets
# New inputs go to build-fuzz/corpus/TARGET; an input that fails is saved under
# build-fuzz/findings/TARGET/ and its report is printed. Prints the executions and
# findings of each run; exits 1 when any run found something.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
targets=(ini numbers bitmap wave layout)
build=$root/build-fuzz
"$root/scripts/setup.sh" fuzz

cmake -S "$root" -B "$build" -DFUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Per-target limits: longest input tried, and a dictionary where one helps.
options() {
    case $1 in
        layout) echo "-max_len=4096 -dict=$root/fuzz/layout.dict" ;;
        wave | bitmap) echo "-max_len=8192" ;;
        *) echo "-max_len=512" ;;
    esac
}

failed=0

replay() {
    local target=$1 log
    log=$(mktemp)
    # Each file is one input; libFuzzer runs each once and stops at the first failure.
    if "$build/fuzz/fuzz_$target" -runs=1 $(options "$target") "$root/fuzz/corpus/$target"/* >"$log" 2>&1; then
        echo "$target: $(ls "$root/fuzz/corpus/$target" | wc -l) inputs replayed, no findings"
    else
        cat "$log"
        echo "$target: FAILED on its corpus"
        failed=1
    fi
    rm -f "$log"
}

fuzz() {
    local target=$1 seconds=$2 log runs findings started=$SECONDS
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    log=$build/fuzz-$target.log
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target/" $(options "$target") \
        "$build/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    findings=$(find "$build/findings/$target" -type f -newer "$log.start" 2>/dev/null | wc -l)
    # libFuzzer stops at its first finding, so the run may be shorter than asked.
    echo "$target: ${runs:-0} executions in $((SECONDS - started)) s, $findings findings, corpus $(ls "$build/corpus/$target" | wc -l) inputs"
    if [ "$findings" -gt 0 ]; then
        grep -E "ERROR|SUMMARY|runtime error|==[0-9]+==|#[0-9]+ 0x" "$log" | head -n 40
        find "$build/findings/$target" -type f -newer "$log.start"
        failed=1
    fi
}

case ${1:-} in
    build) ;;
    replay)
        for target in "${targets[@]}"; do replay "$target"; done ;;
    all)
        for target in "${targets[@]}"; do
            touch "$build/fuzz-$target.log.start"
            fuzz "$target" "${2:?seconds}"
        done ;;
    ini | numbers | bitmap | wave | layout)
        touch "$build/fuzz-$1.log.start"
        fuzz "$1" "${2:?seconds}" ;;
    *)
        echo "usage: $0 TARGET SECONDS | all SECONDS | replay | build   (targets: ${targets[*]})" >&2
        exit 2 ;;
esac
exit $failed
