#!/usr/bin/env python3
"""Prints the installed size of the Debian package, and each installed program's start to
first frame, started as its menu entry says, against its bare Qt twin (bouncer's bare window
for the programs without a twin of their own). The installed programs are those of the
installed package when it is installed, otherwise a `cmake --install` of build/ into a
temporary folder. The first-paint probe is preloaded into them. Nothing is asserted."""
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_bench import BUILD, ROUNDS, start_desktop, time_to_first_paint  # noqa: E402

PACKAGE = "russian-desktop-programs"
PROBE = os.path.join(BUILD, "bench", "libfirst_paint_preload.so")
TWINS = {"bouncer": "bench_bare_window", "sliders": "bench_bare_sliders", "heropick": "bench_bare_heropick",
         "hitcalc": "bench_bare_hitcalc", "sizekeeper": "bench_bare_sizekeeper"}


def package_installed():
    status = subprocess.run(["dpkg-query", "-W", "-f=${Status}", PACKAGE], capture_output=True, text=True)
    return status.stdout == "install ok installed"


def print_sizes():
    """Prints the size of the .deb in build/ and of what it installs."""
    debs = glob.glob(os.path.join(BUILD, f"{PACKAGE}_*.deb"))
    if debs:
        deb = debs[0]
        installed = subprocess.run(["dpkg-deb", "-f", deb, "Installed-Size"], capture_output=True, text=True)
        print(f"package {os.path.basename(deb)}: {os.path.getsize(deb) / 1024:.0f} KiB to download, "
              f"{int(installed.stdout)} KiB installed (its Installed-Size)")
    if package_installed():
        files = subprocess.run(["dpkg", "-L", PACKAGE], capture_output=True, text=True).stdout.split("\n")
        total = sum(os.path.getsize(path) for path in files if os.path.isfile(path))
        print(f"installed files of {PACKAGE}: {total / 1024:.0f} KiB in {sum(map(os.path.isfile, files))} files")


def entries(prefix):
    """Returns {program: (command, folder or None)} from our menu entries under prefix."""
    if prefix == "/usr":
        listed = subprocess.run(["dpkg", "-L", PACKAGE], capture_output=True, text=True).stdout.split("\n")
        paths = [path for path in listed if path.startswith("/usr/share/applications/")]
    else:
        paths = glob.glob(os.path.join(prefix, "share", "applications", "*.desktop"))
    found = {}
    for path in sorted(paths):
        fields = dict(line.split("=", 1) for line in open(path, encoding="utf-8").read().splitlines() if "=" in line)
        found[os.path.basename(path)[:-len(".desktop")]] = (fields["Exec"], fields.get("Path"))
    return found


def median_starts(runs):
    """Runs each (command, folder, environment) in turn, ROUNDS times, so that all see the same
    machine; returns each one's median start to first paint in milliseconds."""
    times = [[] for _ in runs]
    for _ in range(ROUNDS):
        for seen, (command, cwd, env) in zip(times, runs):
            seen.append(time_to_first_paint(command, cwd, env)[0])
    return [statistics.median(seen) * 1000 for seen in times]


def main():
    if not os.path.exists(PROBE):
        sys.exit(f"{PROBE} is missing: build first (scripts/setup.sh)")
    print_sizes()
    scratch = tempfile.mkdtemp()
    desktop = start_desktop()
    try:
        if package_installed():
            prefix = "/usr"
        else:
            prefix = os.path.join(scratch, "prefix")
            subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
        home = os.path.join(scratch, "home")
        os.makedirs(home)
        preloaded = dict(os.environ, LD_PRELOAD=PROBE, HOME=home)
        plain = dict(os.environ, HOME=home)
        print(f"start to first frame, median of {ROUNDS}, programs installed under {prefix}, each started as its "
              f"menu entry says:")
        for program, (command, folder) in entries(prefix).items():
            twin = TWINS.get(program, "bench_bare_window")
            installed_ms, twin_ms = median_starts([(command, folder or home, preloaded),
                                                   (os.path.join(BUILD, "bench", twin), folder or home, plain)])
            print(f"  {program:<11} {installed_ms:6.1f} ms, {twin:<21} {twin_ms:6.1f} ms, ratio {installed_ms / twin_ms:.2f}")
    finally:
        for process in desktop:
            process.terminate()
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
