#!/usr/bin/env bash
# Builds, runs and tests kdxterminal on Debian 12.
#
#   ./dev.sh run         install what is missing, build, start the terminal
#   ./dev.sh test        install what is missing, build, run every test (what CI runs)
#   ./dev.sh test quick  the same, but only the Debug build and its tests
#   ./dev.sh package     install what is missing, build the Debian package (build-package/), lint it
#   ./dev.sh docs        install what is missing, build, make every picture in docs/ again
#
# Extra arguments after "run" go to the terminal (default: --simulate).
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev
          qt6-tools-dev qt6-l10n-tools
          libqt6opengl6-dev libgl-dev fonts-liberation2 clang libclang-rt-14-dev
          dpkg-dev file desktop-file-utils appstream lintian libqt6sql6-sqlite poppler-utils)
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

make_package() { # make_package DIR: DIR/kdxterminal_*.deb from an already configured build folder
    rm -f "$1"/kdxterminal_*.deb
    cmake --build "$1" -j"$JOBS" --target package
}

check_package() ( # check_package DEB: contents, programs, desktop entry and metadata
    deb=$1
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg-deb --info "$deb"
    contents=$(dpkg-deb --contents "$deb")
    echo "$contents"
    for f in usr/bin/kdxterminal usr/bin/kdxsim usr/share/applications/kdxterminal.desktop \
             usr/share/icons/hicolor/scalable/apps/kdxterminal.svg \
             usr/share/man/man1/kdxterminal.1.gz usr/share/man/man1/kdxsim.1.gz \
             usr/share/man/hu/man1/kdxterminal.1.gz; do
        grep -q " \./$f\$" <<<"$contents" || { echo "missing in the package: $f"; exit 1; }
    done
    [[ $(dpkg-deb --field "$deb" Depends) == *libqt6serialport6* ]] \
        || { echo "the package's dependencies lack the Qt libraries"; exit 1; }
    [[ $(dpkg-deb --field "$deb" Depends) == *libqt6sql6-sqlite* ]] \
        || { echo "the package's dependencies lack Qt's SQLite driver (the history)"; exit 1; }
    apt-get install --simulate "$(realpath "$deb")" >/dev/null
    dpkg -x "$deb" "$root"
    "$root"/usr/bin/kdxterminal --version
    "$root"/usr/bin/kdxsim --help >/dev/null
    desktop-file-validate "$root"/usr/share/applications/kdxterminal.desktop
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
    [[ $(zcat "$root"/usr/share/man/man1/kdxterminal.1.gz) == .TH\ KDXTERMINAL\ 1* ]] \
        || { echo "the man page does not unpack"; exit 1; }
    lint_package "$deb"
)

lint_package() { # lint_package DEB: Debian's checks; an error fails, warnings are listed (README says why)
    # (Run as root, as in CI, it first says that root is not recommended; that is no finding.)
    lintian --fail-on error "$1"
    echo "lintian: no errors in $(basename "$1")"
}

# Every picture in docs/, one line each: picture FILE [VAR=VALUE...] TOOL [OPTIONS...].
# TOOL is a program of tools/ (kdxscreenshot, kdxfigurepicture, ...); it runs
# headless on the built-in simulator and writes docs/FILE. report_picture FILE
# [OPTIONS...] makes the first page of the session's report (kdxscreenshot
# --report) into docs/FILE.
doc_pictures() {
    picture window.png kdxscreenshot --pid-run --speed 150 --seconds 3 --hover Text5 --locale hu_HU
    picture window-en.png kdxscreenshot --language en --pid-run --speed 150 --seconds 3 \
        --hover Text5 --locale en_GB
    picture port-chooser.png kdxscreenshot --port-chooser --locale hu_HU
    picture workbench.png kdxscreenshot --workbench P2=200,P2=600 --locale hu_HU
    picture history.png kdxscreenshot --workbench P2=200,P2=600 --history \
        --axis "3. gép, X tengely" --locale hu_HU
    report_picture report.png --workbench P2=200,P2=600 --axis "3. gép, X tengely" \
        --note "Megrendelő: Kovács Kft. Próbafutás a szerelőcsarnokban, terhelés nélkül." \
        --locale hu_HU
    picture tuning-fit.png kdxscreenshot --tuning 1 --locale hu_HU
    picture step-figures.png kdxfigurepicture
}

tool_program() { # tool_program TOOL: the developer tool's program in build-docs/tools/
    local program
    program=$(find build-docs/tools -type f -name "$1" -perm -u+x | head -n 1)
    [ -n "$program" ] || { echo "no developer tool $1 in build-docs/tools" >&2; exit 1; }
    echo "$program"
}

picture() { # picture FILE [VAR=VALUE...] TOOL [OPTIONS...], run from build-docs/tools/
    local file=$1 vars=() tool program
    shift
    while [[ ${1:-} =~ ^[A-Z_][A-Z0-9_]*= ]]; do vars+=("$1"); shift; done
    tool=$1
    shift
    program=$(tool_program "$tool")
    echo "docs/$file: $tool $*"
    env -u QT_SCALE_FACTOR QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "${vars[@]}" \
        "$program" -o "docs/$file" "$@"
    made+=("docs/$file")
}

report_picture() { # report_picture FILE [OPTIONS...]: page 1 of the report, 75 dpi
    local file=$1 program scratch
    shift
    program=$(tool_program kdxscreenshot)
    scratch=$(mktemp -d)
    echo "docs/$file: kdxscreenshot --report $*"
    env -u QT_SCALE_FACTOR QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        "$program" --report "$scratch/report.pdf" "$@"
    pdftoppm -png -r 75 -f 1 -l 1 -singlefile "$scratch/report.pdf" "docs/${file%.png}"
    rm -rf "$scratch"
    made+=("docs/$file")
}

stage() { # stage TITLE: a heading with the time taken so far
    printf '== [%d min %02d s] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$1"
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
package)
    install_missing
    cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DKDX_BUILD_TESTS=OFF \
        -DKDX_BUILD_BENCH=OFF -DKDX_BUILD_TOOLS=OFF >/dev/null
    make_package build-package
    deb=$(ls build-package/kdxterminal_*.deb)
    lint_package "$deb"
    echo "Built $deb; install it with: sudo apt install ./$deb"
    ;;
docs)
    install_missing
    build build-docs -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKDX_BUILD_TESTS=OFF -DKDX_BUILD_BENCH=OFF \
        -DKDX_BUILD_TOOLS=ON
    made=()
    doc_pictures
    # A picture no line makes would go stale unnoticed.
    for png in docs/*.png; do
        [[ " ${made[*]} " == *" $png "* ]] || { echo "$png: no line of doc_pictures in dev.sh makes it"; exit 1; }
    done
    echo "Made ${#made[@]} pictures in docs/"
    ;;
test)
    case "${2:-}" in
    "") quick= ;;
    quick) quick=1 ;;
    *) sed -n '2,10p' "$0"; exit 2 ;;
    esac
    install_missing
    stage "Build and test (warnings are errors)"
    build build-ci -DCMAKE_BUILD_TYPE=Debug -DKDX_WERROR=ON
    run_tests build-ci
    if [ -n "$quick" ]; then
        stage "Quick run passed (package, sanitizers, fuzzing and benchmark left out)"
        exit 0
    fi
    stage "Debian package (from the same build), unpacked and checked"
    make_package build-ci
    check_package build-ci/kdxterminal_*.deb
    stage "Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DKDX_WERROR=ON -DKDX_SANITIZE=ON -DKDX_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    stage "Fuzzing (libFuzzer, ${FUZZ_SECONDS:-20} s per target)"
    tests/fuzz/run.sh "${FUZZ_SECONDS:-20}"
    stage "Benchmark, short run (a few seconds per figure; speed is not judged here)"
    build-ci/bench/kdxbench --short
    stage "All tests passed"
    ;;
*)
    sed -n '2,10p' "$0"
    exit 2
    ;;
esac
