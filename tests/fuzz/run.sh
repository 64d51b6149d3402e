#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# from its committed seed corpus. New inputs go to a scratch copy, never into
# the repository. Prints one line per target: executions and findings.
#
#   tests/fuzz/run.sh [SECONDS]    (default 20 per target; 0 skips the fuzzing)
#
# The random seed is fixed (FUZZ_SEED, default 1) so that a run repeats what
# the one before it tried; set another seed to explore further.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-${FUZZ_SECONDS:-20}}
# libFuzzer takes -max_total_time=0 as "no limit": 0 here means no fuzzing at all.
[[ $seconds =~ ^[0-9]+$ ]] || { echo "run.sh: SECONDS must be a whole number"; exit 2; }
if [ "$seconds" -eq 0 ]; then
    echo "fuzzing skipped (0 s per target)"
    exit 0
fi
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DKDX_FUZZ=ON -DKDX_BUILD_TESTS=OFF \
    -DKDX_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target kdxfuzz -j"${JOBS:-$(nproc)}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for corpus in tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    mkdir -p "$scratch/$name"
    log="$scratch/$name.log"
    if "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -seed="${FUZZ_SEED:-1}" \
        -timeout=5 -rss_limit_mb=2048 \
        -artifact_prefix="$scratch/$name-" "$scratch/$name" "$corpus" >"$log" 2>&1; then
        runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo '?')
        echo "fuzz_$name: $runs executions in ${seconds} s, no findings"
    else
        echo "fuzz_$name: FINDING"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
