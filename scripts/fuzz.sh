#!/usr/bin/env bash
# Builds the libFuzzer targets in a clang build directory of their own and runs each for a
# bounded time, starting from the committed seed corpus. Fails on any finding (a mismatch with
# the model, a sanitizer report, a crash) and leaves the input in the artifacts directory.
#
#   KELVOR_FUZZ_SECONDS   seconds per target (default 60)
#   KELVOR_FUZZ_BUILD     build directory (default build-fuzz in the source tree)
#   KELVOR_FUZZ_CXX       the clang C++ compiler (default clang++-14, else clang++)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVOR_FUZZ_BUILD:-$root/build-fuzz}
seconds=${KELVOR_FUZZ_SECONDS:-60}
cxx=${KELVOR_FUZZ_CXX:-$(command -v clang++-14 || command -v clang++ || true)}
if [[ -z "$cxx" ]]; then
    echo "fuzz.sh: no clang++ found (Debian packages clang-14 and libclang-rt-14-dev)" >&2
    exit 2
fi
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || (( seconds < 1 )); then
    echo "fuzz.sh: KELVOR_FUZZ_SECONDS must be a whole number of seconds" >&2
    exit 2
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVOR_FUZZ=ON -DKELVOR_WITH_QT=OFF -DBUILD_TESTING=OFF
cmake --build "$build" --target TextToIntFuzz TextToRealFuzz ProblemFileFuzz -j 2

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in TextToInt TextToReal ProblemFile; do
    # New inputs go to a scratch corpus; the committed seeds are only read.
    work="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$work" "$artifacts"
    echo "== $target: $seconds s"
    if ! "$build/fuzz/${target}Fuzz" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$root/fuzz/corpus/$target"; then
        echo "fuzz.sh: $target found a problem; inputs in $artifacts" >&2
        status=1
    fi
done
exit $status
