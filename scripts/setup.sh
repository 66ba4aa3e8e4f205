#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and builds it into
# build/. Sourced or run by run.sh and test.sh.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
    cmake g++ make                                  # the toolchain
    qt6-base-dev qt6-qpa-plugins                    # Qt Widgets and its X11 platform
    fonts-liberation2                               # a sans serif with the layouts' metrics
    qt6-translations-l10n                           # Qt's own dialogs in Russian
    libgtest-dev                                    # the test runner
    libsndfile1-dev libsdl2-dev                     # wave files and sound output
    xvfb xauth openbox xdotool x11-utils x11-apps imagemagick  # real windows, screenshots
    xclip                                           # e2e tests read texts as a user copies them
    fonts-dejavu-core                               # a sans serif font with Cyrillic
    dpkg-dev desktop-file-utils lintian             # the Debian package and its checks
    clang-14 libclang-rt-14-dev                     # fuzz targets (libFuzzer, sanitizers)
)
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

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc)"
