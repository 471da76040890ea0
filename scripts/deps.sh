#!/usr/bin/env bash
# Installs the Debian packages Kelvor needs, when any is missing:
#
#   scripts/deps.sh run    what building and running the program needs (scripts/start.sh):
#       cmake, ninja-build, g++, pkg-config, qt6-base-dev (with libgl-dev for its CMake files);
#       the fonts the windows are laid out in (fonts-wine, fonts-liberation2, and
#       fonts-dejavu-core as the fallback face);
#   scripts/deps.sh test   all of that, and what testing and packaging add (scripts/test.sh):
#       the tests: libgtest-dev, liblemon-dev (the reference solver), glpk-utils (glpsol, which
#         solves the LP text of problem files);
#       the fuzzers (scripts/fuzz.sh): clang and its runtimes libclang-rt-14-dev;
#       the format check (scripts/format-check.sh): clang-format;
#       the package (cpack -G DEB, tested by tests/PackageTest.sh): dpkg-dev for dpkg-shlibdeps
#         and dpkg-buildflags, file, which CPack's DEB generator runs on every installed file,
#         and the checkers the package test runs: lintian, desktop-file-validate
#         (desktop-file-utils) and appstreamcli (appstream).
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    fonts-wine fonts-liberation2 fonts-dejavu-core
)
test_packages=(
    libgtest-dev liblemon-dev glpk-utils
    clang libclang-rt-14-dev clang-format
    dpkg-dev file
    lintian desktop-file-utils appstream
)

case "${1:-}" in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*)
    echo "usage: scripts/deps.sh run|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
