#!/usr/bin/env python3
"""Installs the build into a scratch prefix with `cmake --install` and checks what a desktop
needs of each program the build registers (build/programs.list): its executable, a menu
entry that desktop-file-validate accepts, whose Exec=, Path= and Icon= point where they
should, its sample files in that Path, its icons and its manual page."""
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

PACKAGE = "russian-desktop-programs"
# The desktop menus' main categories: an entry without one lands in «Other».
MAIN_CATEGORIES = {"AudioVideo", "Audio", "Video", "Development", "Education", "Game", "Graphics",
                   "Network", "Office", "Science", "Settings", "System", "Utility"}


def read_programs(build):
    """The registered programs: {name: the sample files it reads from its folder}."""
    with open(os.path.join(build, "programs.list"), encoding="utf-8") as listing:
        rows = [line.split("\t") for line in listing.read().splitlines() if line]
    return {row[0]: row[1:] for row in rows}


def read_entry(path):
    with open(path, encoding="utf-8") as entry:
        return dict(line.split("=", 1) for line in entry.read().splitlines() if "=" in line)


def png_size(path):
    with open(path, "rb") as png:
        head = png.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def check(prefix, programs):
    """Returns the faults found under the prefix, one line each."""
    faults = []
    entries = sorted(glob.glob(os.path.join(prefix, "share", "applications", "*.desktop")))
    if len(entries) != len(programs):
        faults.append(f"{len(entries)} menu entries installed, not {len(programs)}")
    validated = subprocess.run(["desktop-file-validate", *entries], capture_output=True, text=True)
    if validated.returncode != 0 or validated.stdout.strip():
        faults.append("desktop-file-validate: " + validated.stdout.strip())
    for program, samples in programs.items():
        entry_path = os.path.join(prefix, "share", "applications", program + ".desktop")
        if not os.path.exists(entry_path):
            faults.append(f"{program}: no menu entry")
            continue
        entry = read_entry(entry_path)
        binary = os.path.join(prefix, "bin", program)
        if entry.get("Exec") != binary or not os.access(binary, os.X_OK):
            faults.append(f"{program}: Exec={entry.get('Exec')}, but the program is {binary}")
        if not entry.get("Name") or not entry.get("Name[ru]") or not entry.get("Comment"):
            faults.append(f"{program}: the entry lacks Name, Name[ru] or Comment")
        if not MAIN_CATEGORIES & set(entry.get("Categories", "").split(";")):
            faults.append(f"{program}: Categories={entry.get('Categories')} names no main menu category")
        folder = entry.get("Path")
        if not samples and folder is not None:
            faults.append(f"{program} reads no files, yet its entry has Path={folder}")
        if samples:
            expected = os.path.join(prefix, "share", PACKAGE, program)
            if folder != expected:
                faults.append(f"{program}: Path={folder}, not {expected}")
            for sample in samples:
                if not os.path.isfile(os.path.join(expected, sample)):
                    faults.append(f"{program}: no {sample} in {expected}")
        if not os.path.exists(os.path.join(prefix, "share", "man", "man1", program + ".1.gz")):
            faults.append(f"{program}: no manual page")
        icon = entry.get("Icon", "")
        png = os.path.join(prefix, "share", "icons", "hicolor", "48x48", "apps", icon + ".png")
        svg = os.path.join(prefix, "share", "icons", "hicolor", "scalable", "apps", icon + ".svg")
        if not os.path.exists(png) or png_size(png) != (48, 48):
            faults.append(f"{program}: Icon={icon}, but {png} is not a 48 x 48 PNG")
        try:
            if not ElementTree.parse(svg).getroot().tag.endswith("svg"):
                faults.append(f"{program}: {svg} is not an SVG drawing")
        except (OSError, ElementTree.ParseError) as error:
            faults.append(f"{program}: Icon={icon}, but {svg} cannot be read: {error}")
    return faults


def main():
    build = sys.argv[1]
    programs = read_programs(build)
    prefix = tempfile.mkdtemp()
    try:
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
        faults = check(prefix, programs)
    finally:
        shutil.rmtree(prefix)
    for fault in faults:
        print("FAIL:", fault)
    print(f"install layout: {len(programs)} programs checked, {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
