#!/usr/bin/env bash
# Builds, runs and tests kdxterminal on Debian 12.
#
#   ./dev.sh run    install what is missing, build, start the terminal
#   ./dev.sh test   install what is missing, build, run every test
#
# Extra arguments after "run" go to the terminal (default: --simulate).
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev libgl-dev
          fonts-liberation2 clang libclang-rt-14-dev)
JOBS=${JOBS:-$(nproc)}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$JOBS"
}

run_tests() { # run_tests DIR
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j"$JOBS"
}

case "${1:-}" in
run)
    shift
    install_missing
    build build-release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKDX_BUILD_TESTS=OFF -DKDX_BUILD_BENCH=OFF \
        -DKDX_BUILD_TOOLS=OFF
    [ $# -gt 0 ] || set -- --simulate
    exec ./build-release/src/kdxterminal "$@"
    ;;
test)
    install_missing
    echo "== Build and test (warnings are errors)"
    build build-ci -DCMAKE_BUILD_TYPE=Debug -DKDX_WERROR=ON
    run_tests build-ci
    echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DKDX_WERROR=ON -DKDX_SANITIZE=ON -DKDX_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    echo "== Fuzzing (libFuzzer, ${FUZZ_SECONDS:-20} s per target)"
    tests/fuzz/run.sh "${FUZZ_SECONDS:-20}"
    echo "== Benchmark, short run (a few seconds per figure; speed is not judged here)"
    build-ci/bench/kdxbench --short
    echo "== All tests passed"
    ;;
*)
    sed -n '2,8p' "$0"
    exit 2
    ;;
esac
