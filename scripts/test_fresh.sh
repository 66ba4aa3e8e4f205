#!/usr/bin/env bash
# Tries the README's commands as a new user would, on a clean Debian 12 root made with
# mmdebstrap (a minimal system, plus git and ca-certificates): the commit under test
# (HEAD; changes not committed are not in it) is cloned into the root, and there
# ./scripts/test.sh must pass every test, ./scripts/run.sh must show bouncer's window on its
# virtual display (seen in a screenshot) and ./scripts/package.sh must build the package.
# A second clean root then installs that package with apt-get --no-install-recommends;
# each program is started from its menu entry's command in its folder, on a virtual desktop
# of this machine, and must show its window with no message box, tiler's open dialog in
# Qt's Russian; then the package is purged.
#
# Runs as root, in a mount and process namespace of its own: the roots' mounts and every
# process started in them end with it, whatever way it ends (a trap undoes them before).
# This machine's own packages are never touched. Downloaded packages are kept between runs
# in $FRESH_CACHE (/var/cache/fresh-root-debs); the roots start without any package of
# the project. Logs and screenshots stay in a folder under /tmp, printed first; a failed
# step is named with its log's last lines.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${FRESH_CACHE:-/var/cache/fresh-root-debs}
package=russian-desktop-programs
mirrors=("deb http://deb.debian.org/debian bookworm main"
         "deb http://deb.debian.org/debian bookworm-updates main"
         "deb http://deb.debian.org/debian-security bookworm-security main")

# Outside the namespace: mmdebstrap and this machine's checking tools (a virtual desktop),
# then the run itself in a namespace; the roots go afterwards.
if [ "${1:-}" != --inside ]; then
    "$root/scripts/setup.sh" fresh >/dev/null
    # Runs sharing the package cache take turns.
    mkdir -p "$cache"
    exec 9>"$cache.lock"
    flock 9
    logs=$(mktemp -d /tmp/fresh-root.XXXXXX)
    echo "logs and screenshots: $logs"
    trap 'kill "${inside:-}" 2>/dev/null || true; wait; rm -rf --one-file-system "$logs/roots"' EXIT
    trap 'exit 1' INT TERM HUP
    unshare --mount --propagation private --pid --fork --kill-child --mount-proc \
        "$0" --inside "$logs" "$(git -C "$root" rev-parse HEAD)" &
    inside=$!
    wait "$inside"
    exit
fi
logs=$2 commit=$3
roots=$logs/roots

# Ends every process whose root is under $roots, then undoes every mount there, deepest first.
leave_roots() {
    local proc
    for proc in /proc/[0-9]*; do
        [[ $(readlink "$proc/root" 2>/dev/null) == "$roots"/* ]] && { kill -9 "${proc#/proc/}" 2>/dev/null || true; }
    done
    awk -v roots="$roots/" 'index($5, roots) == 1 { print $5 }' /proc/self/mountinfo | sort -r |
        while read -r mount; do umount -l "$mount" || echo "could not unmount $mount"; done
}
trap leave_roots EXIT

# Runs a step with its output in $logs/NAME.log; a failure names the step, shows the log's
# tail and ends the run. The step runs as a job of its own so that `set -e` holds in it.
step() {
    local name=$1 began=$SECONDS status=0
    shift
    echo "-- $name"
    "$@" >"$logs/$name.log" 2>&1 &
    wait $! || status=$?
    if [ "$status" != 0 ]; then
        echo "FAIL: step «$name» failed (code $status) after $((SECONDS - began)) s; the end of $logs/$name.log:"
        tail -n 40 "$logs/$name.log" | sed 's/^/    /'
        exit 1
    fi
    echo "   passed in $((SECONDS - began)) s"
}

# A clean root: what mmdebstrap's apt variant holds, plus git and ca-certificates. The
# package cache is lent to it while it is made, and kept.
make_root() {
    mkdir -p "$cache" "$1"
    mmdebstrap --variant=apt --include=git,ca-certificates --skip=essential/unlink \
        --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
        --setup-hook="mount --bind '$cache' \"\$1/var/cache/apt/archives\"" \
        --customize-hook='umount "$1/var/cache/apt/archives"' \
        bookworm "$1" "${mirrors[@]}"
    mount -t proc proc "$1/proc"
    mount --rbind /dev "$1/dev"
    mount --rbind /sys "$1/sys"
    mount --bind "$cache" "$1/var/cache/apt/archives"
    cp /etc/resolv.conf "$1/etc/resolv.conf"
}

# Runs a command in a root as a login there would: root's home, a UTF-8 locale, no display.
in_root() {
    local dir=$1
    shift
    chroot "$dir" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# In the first root: run.sh starts bouncer on a virtual display (xvfb-run's); waits until a
# screenshot of it shows bouncer's green ball, then ends bouncer and with it run.sh. (A
# minimal root has no pgrep: processes are found by their names in /proc.)
see_run_window() {
    cd /root/project
    ./scripts/run.sh >/tmp/run.log 2>&1 &
    local run=$! tries server
    for tries in $(seq 600); do
        kill -0 "$run" 2>/dev/null || { cat /tmp/run.log; echo "run.sh ended before its window showed"; return 1; }
        # xvfb-run's server: Xvfb :N ... -auth /tmp/xvfb-run.XXXXXX/Xauthority
        server=$(for cmdline in /proc/[0-9]*/cmdline; do tr '\0' ' ' <"$cmdline"; echo; done 2>/dev/null |
                 grep -m 1 '^Xvfb :[0-9]* .*-auth /tmp/xvfb-run') || true
        DISPLAY=$(cut -d' ' -f2 <<<"$server")
        XAUTHORITY=$(grep -o -- '-auth [^ ]*' <<<"$server" | cut -d' ' -f2)
        export DISPLAY XAUTHORITY
        if xdotool search --onlyvisible --class bouncer >/dev/null 2>&1 && import -window root /tmp/run.png &&
           [ "$(convert /tmp/run.png -fill black +opaque "#00FF00" -fill white -opaque "#00FF00" \
                -format "%[fx:int(mean*w*h)]" info:)" -gt 50 ]; then
            echo "bouncer's window and its ball are on display $DISPLAY after $((tries / 5)) s"
            grep -lx bouncer /proc/[0-9]*/comm | cut -d/ -f3 | xargs kill
            wait "$run" || true
            return 0
        fi
        sleep 0.2
    done
    cat /tmp/run.log
    echo "no window of bouncer with its ball on the virtual display"
    return 1
}

# On a virtual desktop of this machine, starts each program of the package installed in the
# second root as its menu entry says; its window must show without a message box, and
# tiler's open dialog must carry Qt's Russian title.
check_entries() {
    local r2=$1 entry name command folder window dialog title
    # The e2e helpers' waiting tool, as the first root built it (it needs only libX11).
    export E2E_SHOTS=$logs X11_INPUT=$logs/x11_input
    source "$root/tests/e2e/x11.sh"
    e2e_setup fresh-root
    start_desktop
    for entry in $(in_root "$r2" dpkg -L "$package" | grep '^/usr/share/applications/.*\.desktop$'); do
        name=$(basename "$entry" .desktop)
        command=$(sed -n 's/^Exec=//p' "$r2$entry")
        folder=$(sed -n 's/^Path=//p' "$r2$entry")
        in_root "$r2" env DISPLAY="$DISPLAY" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/tmp/sound.raw \
            sh -c 'cd "${1:-$HOME}" && exec $2' sh "$folder" "$command" &
        pid=$!
        window=$(wait_for_window "$name") || fail "$name: no window appeared"
        settle "$window"
        [ -z "$(other_windows "$name" "$window")" ] || fail "$name shows a message box at start"
        screenshot "$logs/$name.png"
        if [ "$name" = tiler ]; then
            click_at "$window" 547 244  # «Открыть»
            dialog=$(wait_for_box tiler "$window") || fail "tiler's open dialog did not show"
            settle "$dialog"
            screenshot "$logs/tiler-dialog.png"
            title=$(xdotool getwindowname "$dialog")
            [ "$title" = "Открыть" ] || fail "tiler's open dialog is titled «$title»: Qt's own texts are not in Russian"
            press_closing "$dialog" Escape
            wait_until 10 "tiler's open dialog did not close" not_shown tiler "$dialog"
        fi
        close_window "$window"
        expect_exit_0 "its window closed"
        echo "$name: window from «$command» in ${folder:-the home folder}, no message box, closed with code 0"
    done
    stop_desktop
}

clone() {
    git clone -q --no-checkout "$root" "$1"
    git -C "$1" checkout -q --detach "$commit"
}

purge() {
    in_root "$1" apt-get purge -y -q "$package"
    ! in_root "$1" dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q installed
}

r1=$roots/first r2=$roots/second
echo "commit under test: $commit"
step first-root make_root "$r1"
step clone clone "$r1/root/project"
step test.sh in_root "$r1" bash -c 'cd /root/project && ./scripts/test.sh'
grep -E "tests passed|Total Test time" "$logs/test.sh.log" | sed 's/^/   /'
step run.sh in_root "$r1" bash -c "$(declare -f see_run_window); see_run_window"
cp "$r1/tmp/run.png" "$logs/run.png"
cp "$r1/root/project/build/tests/x11_input" "$logs/"
step package.sh in_root "$r1" bash -c 'cd /root/project && ./scripts/package.sh'
deb=$(tail -n 1 "$logs/package.sh.log")
cp "$r1$deb" "$logs/"
leave_roots
rm -rf --one-file-system "$r1"

step second-root make_root "$r2"
cp "$logs/$(basename "$deb")" "$r2/tmp/"
step install in_root "$r2" bash -c "apt-get update -q && apt-get install -y -q --no-install-recommends /tmp/$(basename "$deb")"
step menu-entries check_entries "$r2"
step purge purge "$r2"
echo "fresh roots: the README's commands and the package passed"
