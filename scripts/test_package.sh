#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian and desktop-file-validate, installs it
# with apt-get, starts every installed program as its menu entry says (its Exec= in its
# Path=) under Xvfb and openbox, then purges the package and checks that none of its files
# is left.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tests/e2e/x11.sh"
package=russian-desktop-programs
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

"$root/scripts/setup.sh" test package
deb=$("$root/scripts/package.sh" | tail -n 1)
echo "package: $deb, $(stat -c %s "$deb") bytes"
# lintian ends with a non-zero code on any error; its warnings are printed for reading.
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v "^running with root privileges" <<<"$report" || true
[ "$status" = 0 ] || { echo "FAIL: lintian reports errors"; exit 1; }

apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@" -y -qq >/dev/null; }
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; }
# A package left by an earlier run that failed half-way would hide what this one installs.
installed && apt purge "$package"

e2e_setup package
apt install "$deb"
installed || fail "apt-get did not install $deb"
dpkg -L "$package" >"$work/files.txt"
echo "installed $(grep -c . "$work/files.txt") paths"

# The programs the build registers, a line each: the name, then its sample files.
mapfile -t programs < <(cut -f1 "$root/build/programs.list")
entries=()
for name in "${programs[@]}"; do
    entry=/usr/share/applications/$name.desktop
    grep -qx "$entry" "$work/files.txt" || fail "the package holds no menu entry for $name"
    entries+=("$entry")
done
count=$(grep -c '^/usr/share/applications/.*\.desktop$' "$work/files.txt")
[ "$count" = "${#programs[@]}" ] || fail "the package holds $count menu entries, not ${#programs[@]}"
desktop-file-validate "${entries[@]}" || fail "desktop-file-validate rejects a menu entry"

# The programs run as a new user would: an empty home, and SDL's disk output for a sound card.
export HOME="$work/home" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/device.raw"
mkdir -p "$HOME"
start_desktop

for entry in "${entries[@]}"; do
    name=$(basename "$entry" .desktop)
    command=$(sed -n 's/^Exec=//p' "$entry")
    folder=$(sed -n 's/^Path=//p' "$entry")
    started=$(date +%s%N)
    # Exec= holds a plain command line (no field codes), split at blanks as a launcher does.
    # shellcheck disable=SC2086
    (cd "${folder:-$HOME}" && exec $command) &
    pid=$!
    window=$(wait_for_window "$name") || fail "$name: no window appeared"
    shown=$(( ($(date +%s%N) - started) / 1000000 ))
    GEOMETRY=$(client_geometry "$window")
    [ -z "$(other_windows "$name" "$window")" ] || fail "$name shows a message box at start"
    # What the program's own tests/e2e/NAME_package_check.sh checks, when it has one: that it
    # has read its sample files, say.
    check=$root/tests/e2e/${name}_package_check.sh
    [ ! -f "$check" ] || source "$check"
    settle "$window"
    [ -z "$(other_windows "$name" "$window")" ] || fail "$name shows a message box"
    close_window "$window"
    expect_exit_0 "its window closed"
    echo "$name: started in ${folder:-the home folder}, window after $shown ms, no message box," \
         "closed with code 0"
done
stop_desktop

apt purge "$package"
installed && fail "the package is still installed after apt-get purge"
dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "config-files" && fail "configuration files are left"
left=0
while read -r path; do
    # Directories that other packages share (/usr/bin, the icon theme) stay; our own go.
    if [ -e "$path" ] && { [ ! -d "$path" ] || [[ $path == */$package ]]; }; then
        echo "left behind: $path"
        left=$((left + 1))
    fi
done <"$work/files.txt"
[ "$left" = 0 ] || fail "$left paths of the package are left after purging it"
echo "purged: none of its $(grep -c . "$work/files.txt") paths is left"
echo "package test: 1 passed, 0 failed"
