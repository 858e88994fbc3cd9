#!/usr/bin/env bash
# Runs every fuzz target for MINUTES minutes, two at a time, then merges what they found into
# the seed corpora under tests/fuzz/corpus (only inputs that add coverage), so runs add up
# across sessions. Prints executions and coverage per target; a crash leaves its input in
# build-fuzz/fuzz/<target>-long/ and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-15}
jobs=${JOBS:-2}
out=build-fuzz/fuzz
summary=$out/long-summary.txt
: > "$summary"

run_one() {
    local target=$1 minutes=$2 out=$3
    local name=${target%Fuzzer}
    local work=$out/$target-long log=$out/$target-long.log
    mkdir -p "$work"
    local rc=0
    (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "../$target" -max_total_time=$((minutes * 60)) \
        -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        . "../../../tests/fuzz/corpus/$name") > "$log" 2>&1 || rc=$?
    local runs cov
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo "?")
    if [ "$rc" -eq 0 ]; then
        "$out/$target" -merge=1 "tests/fuzz/corpus/$name" "$work" >> "$log" 2>&1 || true
        printf '%-22s %12s executions  coverage %6s  (%s min)\n' "$target" "$runs" "$cov" "$minutes"
    else
        printf '%-22s FAILED after %s executions, see %s\n' "$target" "$runs" "$log"
        return 1
    fi
}
export -f run_one

targets=$(cd tests/fuzz && ls *Fuzzer.cpp | sed 's/\.cpp$//')
status=0
printf '%s\n' $targets | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$minutes" "$out" \
    | tee -a "$summary" || status=1
echo "summary in $summary"
exit $status
