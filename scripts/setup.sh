#!/usr/bin/env bash
# Installs the Debian packages that the named purposes need (only those missing) and builds
# the project into build/. Run by run.sh, test.sh, package.sh and fuzz.sh, each naming its
# own purpose:
#   setup.sh [PURPOSE...]   run (the default): building and running the programs
#                           test: the test runner, and the virtual desktop and screenshot
#                                 tools the end-to-end tests drive the programs with
#                           package: the Debian package's tools and its checks
#                           fuzz: clang and libFuzzer (fuzz.sh builds its own tree with them)
#                           fresh: mmdebstrap, which makes the clean Debian roots of
#                                  test_fresh.sh, and the test tools it checks them with
#                                  (it builds nothing here)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

run=(
    cmake g++ make                                  # the toolchain
    qt6-base-dev qt6-qpa-plugins qt6-wayland        # Qt Widgets and its X11 and Wayland platforms
    fonts-liberation2 fonts-dejavu-core             # sans serif fonts with Cyrillic; the first has the layouts' metrics
    qt6-translations-l10n                           # Qt's own dialogs in Russian
    libsndfile1-dev libsdl2-dev                     # wave files and sound output
    xvfb xauth                                      # run.sh's virtual display where there is none
)
test=(
    libgtest-dev                                    # the test runner
    openbox xdotool x11-utils x11-apps imagemagick  # real windows, clicks, screenshots
    xclip                                           # e2e tests read texts as a user copies them
    libx11-dev                                      # e2e tests' helper waits on the X server
    python3 desktop-file-utils                      # the install layout's check and its menu entries' validator
    weston                                          # the programs under a headless Wayland compositor
)
package=(dpkg-dev desktop-file-utils lintian)       # the Debian package and its checks
fuzz=(clang-14 libclang-rt-14-dev)                  # fuzz targets (libFuzzer, sanitizers)
fresh=(mmdebstrap)                                  # clean Debian roots for test_fresh.sh

[ $# -gt 0 ] || set -- run
packages=("${run[@]}")
build=0
for purpose in "$@"; do
    case $purpose in
        run) build=1 ;;
        test) packages+=("${test[@]}"); build=1 ;;
        package) packages+=("${package[@]}"); build=1 ;;
        fuzz) packages+=("${fuzz[@]}") ;;
        fresh) packages+=("${test[@]}" "${fresh[@]}") ;;
        *) echo "usage: $0 [run|test|package|fuzz|fresh]..." >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ "$build" = 1 ] || exit 0

# The tests are built where their runner is installed: always for the test purpose, and on
# a first build only then; a tree once configured with them keeps them.
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ " $* " == *" test "* ]]; then
    options+=(-DBUILD_TESTING=ON)
elif [ ! -f "$root/build/CMakeCache.txt" ]; then
    options+=(-DBUILD_TESTING=OFF)
fi
cmake -S "$root" -B "$root/build" "${options[@]}" >/dev/null
cmake --build "$root/build" -j "$(nproc)"
