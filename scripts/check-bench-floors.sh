#!/usr/bin/env bash
# Runs every benchmark program of a build once, briefly, and fails when one reports a figure
# below the floor it declares for it, zero or not a number, or a benchmark with no such figure:
# a benchmark loop that skips its work shows here. Usage: scripts/check-bench-floors.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

shopt -s nullglob
programs=()
for program in "$build"/bench/*; do
    [ -f "$program" ] && [ -x "$program" ] && programs+=("$program")
done
if [ ${#programs[@]} -eq 0 ]; then
    echo "check-bench-floors: no benchmark programs in $build/bench" >&2
    exit 1
fi

# The vision benchmark counts answers over 10,000 frames per setting by default; a brief run
# checks its floors over fewer.
export MD_VISION_FRAMES=${MD_VISION_FRAMES:-1000}
# The tracing-by-camera benchmark runs in real time: a brief run times the first positions only.
export MD_CAMERA_POSITIONS=${MD_CAMERA_POSITIONS:-10}

status=0
for program in "${programs[@]}"; do
    name=$(basename "$program")
    # The installed Google Benchmark takes the minimum time as plain seconds.
    if ! QT_QPA_PLATFORM=offscreen "$program" --benchmark_min_time=0.01 \
        --benchmark_out="$out/$name.json" --benchmark_out_format=json >"$out/$name.log" 2>&1; then
        echo "check-bench-floors: $name failed:" >&2
        cat "$out/$name.log" >&2
        status=1
        continue
    fi
    if ! cmake -DJSON="$out/$name.json" -DPROGRAM="$name" -P scripts/check-bench-floors.cmake \
        >"$out/$name.check" 2>&1; then
        cat "$out/$name.check" >&2
        status=1
        continue
    fi
    echo "check-bench-floors: $name: every figure above its floor"
done
exit $status
