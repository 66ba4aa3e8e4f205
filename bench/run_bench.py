#!/usr/bin/env python3
"""Prints bouncer's start-up time and peak memory against a bare Qt window, and its CPU use
during ten seconds of play; the cost of a paver click and a tiler grid against plain Qt;
and paver, tiler and bouncer with photo-sized pictures against their sample pictures. All
under a private Xvfb display with openbox. Nothing is asserted: the figures are for reading."""
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
ROUNDS = 15
PLAY_SECONDS = 10


def start_desktop():
    """Starts Xvfb on a free display and openbox on it; returns the processes."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        os.environ["DISPLAY"] = ":" + pipe.readline().strip()
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # openbox may take seconds before it manages new windows; wait until it frames a probe.
    probe = subprocess.Popen(["xmessage", "-name", "desktop-probe", "probe"],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(400):
        framed = subprocess.run(["xprop", "-name", "desktop-probe", "_NET_FRAME_EXTENTS"],
                                capture_output=True, text=True)
        if "=" in framed.stdout:
            break
        time.sleep(0.05)
    probe.kill()
    probe.wait()
    return [wm, xvfb]


def time_to_first_paint(program, cwd, env=None):
    """Runs a probe build once; returns (seconds from launch to first paint, peak RSS in MiB)."""
    start = time.monotonic()
    process = subprocess.Popen([program], cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True)
    watchdog = threading.Timer(20, process.kill)  # a program that never paints is ended
    watchdog.start()
    painted = None
    for line in process.stdout:
        if line.startswith("first-paint "):
            painted = float(line.split()[1])
    _, status, usage = os.wait4(process.pid, 0)
    watchdog.cancel()
    if painted is None or status != 0:
        raise RuntimeError(f"{program} ended with status {status} before painting")
    return painted - start, usage.ru_maxrss / 1024


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def find_ball(window):
    """Returns the client x of the ball's lime pixels in a window dump, or None."""
    dump = subprocess.run(["xwd", "-silent", "-id", window], capture_output=True).stdout
    header_size, = struct.unpack(">I", dump[0:4])
    width, = struct.unpack(">I", dump[16:20])
    bytes_per_line, = struct.unpack(">I", dump[48:52])
    colours, = struct.unpack(">I", dump[76:80])
    start = header_size + colours * 12
    at = dump.find(b"\x00\xff\x00", start)
    while at != -1 and (at - start) % 4 != 0:
        at = dump.find(b"\x00\xff\x00", at + 1)
    if at == -1:
        return None
    return ((at - start) % bytes_per_line) // 4 if ((at - start) % bytes_per_line) // 4 < width else None


def play(program, cwd):
    """Plays bouncer for PLAY_SECONDS, the paddle following the ball; returns CPU % of one core
    and whether the game was still running at the end."""
    process = subprocess.Popen([program], cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "bouncer"],
                            capture_output=True, text=True, timeout=10).stdout.split()[0]
    geometry = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
    left = int(geometry.split("Absolute upper-left X:")[1].split()[0])
    top = int(geometry.split("Absolute upper-left Y:")[1].split()[0])
    time.sleep(0.5)
    cpu_start, wall_start = cpu_seconds(process.pid), time.monotonic()
    while time.monotonic() - wall_start < PLAY_SECONDS:
        ball = find_ball(window)
        if ball is not None:
            subprocess.run(["xdotool", "mousemove", str(left + max(ball - 25, 0)), str(top + 200)])
        time.sleep(0.05)
    cpu = cpu_seconds(process.pid) - cpu_start
    wall = time.monotonic() - wall_start
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "bouncer"],
                             capture_output=True, text=True).stdout.split()
    process.kill()
    process.wait()
    return 100 * cpu / wall, len(windows) == 1


def compare_start(name, shell, bare, cwd, goal=1.10):
    """Prints a program's start to first paint and peak memory against its bare Qt twin,
    the two run in turn so that both see the same machine."""
    results = {bare: [], shell: []}
    for _ in range(ROUNDS):
        for program in (bare, shell):
            results[program].append(time_to_first_paint(program, cwd))
    (bare_ms, bare_mb), (shell_ms, shell_mb) = (
        (statistics.median(r[0] for r in results[p]) * 1000, max(r[1] for r in results[p])) for p in (bare, shell))
    print(f"start to first paint, median of {ROUNDS}: {name} {shell_ms:.1f} ms, bare Qt twin {bare_ms:.1f} ms, "
          f"ratio {shell_ms / bare_ms:.2f} (goal at most {goal:.2f})")
    print(f"peak memory: {name} {shell_mb:.1f} MiB, bare Qt twin {bare_mb:.1f} MiB, ratio {shell_mb / bare_mb:.2f}")


def scaled_frame(source, target, factor, true_colour=False):
    """Writes a 4-bit BMP made by our own make_pictures.py, enlarged `factor` times; with
    `true_colour`, as a 24-bit BMP without a palette (three bytes a point, as a photo)."""
    with open(source, "rb") as f:
        data = f.read()
    offset, = struct.unpack("<I", data[10:14])
    width, height = struct.unpack("<ii", data[18:26])
    palette = [data[54 + 4 * i: 54 + 4 * i + 3] for i in range(16)]
    row_size = ((width + 1) // 2 + 3) // 4 * 4
    rows = []
    for y in range(height):
        row = data[offset + y * row_size: offset + (y + 1) * row_size]
        pixels = [(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(width)]
        if true_colour:
            line = b"".join(palette[p] * factor for p in pixels)
        else:
            # factor must be even, so each pixel fills whole bytes.
            line = b"".join(bytes([p << 4 | p]) * (factor // 2) for p in pixels)
        line += b"\0" * (-len(line) % 4)
        rows.append(line * factor)
    pixels = b"".join(rows)
    header = bytearray(data[:54] if true_colour else data[:offset])
    if true_colour:
        struct.pack_into("<IHHI", header, 2, 54 + len(pixels), 0, 0, 54)
        struct.pack_into("<HI", header, 28, 24, 0)
        struct.pack_into("<I", header, 46, 0)
    struct.pack_into("<I", header, 2, len(header) + len(pixels))
    struct.pack_into("<ii", header, 18, width * factor, height * factor)
    struct.pack_into("<I", header, 34, len(pixels))
    with open(target, "wb") as f:
        f.write(bytes(header) + pixels)


def photo_bitmap(target, width, height, shade):
    """Writes a 24-bit bitmap of a photo's size: a gradient tinted by `shade`."""
    row = bytes((x * 255 // width + shade * c) & 255 for x in range(width) for c in range(3))
    row += b"\0" * (-len(row) % 4)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(row) * height, 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(row) * height, 2835, 2835, 0, 0)
    with open(target, "wb") as f:
        f.write(header)
        for _ in range(height // 64):
            f.write(row * 64)
        f.write(row * (height % 64))


def rounds(command, cwd):
    """Runs a benchmark that prints "first MS later MS worst MS rss MIB ..."; returns its fields."""
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, timeout=600)
    fields = result.stdout.split()
    if "first" not in fields:
        raise RuntimeError(f"{command[0]} failed: {result.stderr.strip()}")
    return {fields[i]: float(fields[i + 1]) for i in range(0, len(fields) - 1, 2)}


def print_ratios(name, sample, large, what):
    """Prints a large-picture run against the sample run of the same program: its first
    round, its later rounds and its peak memory, each as a ratio with its goal."""
    print(f"{name} with {what}: first {large['first']:.1f} ms against {sample['first']:.1f} ms, "
          f"ratio {large['first'] / sample['first']:.2f} (goal at most 3.00); "
          f"later median {large['later']:.2f} ms against {sample['later']:.2f} ms, "
          f"ratio {large['later'] / sample['later']:.2f} (goal at most 1.50); "
          f"peak memory {large['rss']:.0f} MiB against {sample['rss']:.0f} MiB, "
          f"ratio {large['rss'] / sample['rss']:.2f} (goal at most 1.50)")


def pictures(work):
    """Prints the picture benchmarks' own lines, and paver, tiler and bouncer with large
    pictures against the same programs with the sample ones."""
    for name in ("bench_paver_click", "bench_tiler_grid"):
        result = subprocess.run([os.path.join(BUILD, "bench", name)], cwd=work, capture_output=True,
                                text=True, timeout=300)
        print(result.stdout.strip() or f"{name} failed: {result.stderr.strip()}")
    paver = os.path.join(BUILD, "bench", "bench_paver_click")
    tiler = os.path.join(BUILD, "bench", "bench_tiler_grid")
    moves = os.path.join(BUILD, "bench", "bench_bouncer_moves")
    large = tempfile.mkdtemp()
    try:
        for shade, name in enumerate(("B1.bmp", "Bitmap2.bmp", "Bitmap3.bmp", "Bitmap4.bmp")):
            photo_bitmap(os.path.join(large, name), 8192, 8192, shade * 60)
        os.sync()  # a user's photos lie on disk already: the click is not to wait for their writing
        print_ratios("paver's click", rounds([paver, "clicks"], work), rounds([paver, "clicks"], large),
                     "four 8192 x 8192 24-bit tiles")
        print_ratios("tiler's grid", rounds([tiler, "open", os.path.join(ROOT, "tiler", "Image1.bmp")], work),
                     rounds([tiler, "open", os.path.join(large, "B1.bmp")], work),
                     "an 8192 x 8192 24-bit picture opened")
    finally:
        shutil.rmtree(large)
    large = tempfile.mkdtemp()
    try:
        for name in ("Мячик", "Мячик2", "Мячик3", "Мячик4"):
            scaled_frame(os.path.join(ROOT, "assets", name + ".bmp"), os.path.join(large, name + ".bmp"), 80, True)
        sample, big = rounds([moves], work), rounds([moves], large)
    finally:
        shutil.rmtree(large)
    print_ratios("bouncer's move", sample, big, f"24-bit frames {big['width']:.0f} pixels wide (48 MB each)")
    print(f"bouncer moves per second: {sample['moves']:.1f} with the sample frames, {big['moves']:.1f} with "
          f"48 MB frames (goal: the same)")


def photo_frames_cpu(work):
    """Prints bouncer's CPU use during play with the sample frames and with 24-bit frames of
    4000 x 4000 points (48 MB each)."""
    cpu, _ = play(os.path.join(BUILD, "bouncer", "bouncer"), work)
    large = tempfile.mkdtemp()
    try:
        for name in ("Мячик", "Мячик2", "Мячик3", "Мячик4"):
            scaled_frame(os.path.join(ROOT, "assets", name + ".bmp"), os.path.join(large, name + ".bmp"), 80, True)
        big_cpu, running = play(os.path.join(BUILD, "bouncer", "bouncer"), large)
    finally:
        shutil.rmtree(large)
    print(f"bouncer CPU during {PLAY_SECONDS} s of play: {cpu:.1f} % of one core with the sample frames, "
          f"{big_cpu:.1f} % with 48 MB frames (goal near the first); game "
          f"{'still running' if running else 'ended by a message box'} at the end")


def main():
    only_pictures = "--pictures" in sys.argv[1:]
    for tool in ("Xvfb", "openbox", "xdotool", "xwd", "xwininfo", "xprop", "xmessage"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing: run scripts/setup.sh first")
    desktop = start_desktop()
    work = tempfile.mkdtemp()
    try:
        for name in os.listdir(os.path.join(ROOT, "assets")):
            if name.endswith(".bmp"):
                shutil.copy(os.path.join(ROOT, "assets", name), work)
        if only_pictures:
            pictures(work)
            photo_frames_cpu(work)
            return
        compare_start("bouncer", os.path.join(BUILD, "bench", "bench_bouncer_start"),
                      os.path.join(BUILD, "bench", "bench_bare_window"), work, goal=1.20)
        for name in ("sliders", "heropick", "hitcalc", "sizekeeper"):
            compare_start(name, os.path.join(BUILD, "bench", f"bench_{name}_start"),
                          os.path.join(BUILD, "bench", f"bench_bare_{name}"), work)
        subprocess.run([os.path.join(BUILD, "bench", "bench_sizekeeper_save")], check=True)
        cpu, running = play(os.path.join(BUILD, "bouncer", "bouncer"), work)
        print(f"CPU during {PLAY_SECONDS} s of play: {cpu:.2f} % of one core (goal under 3 %); "
              f"game {'still running' if running else 'ended by a message box'} at the end")
        pictures(work)
        photo_frames_cpu(work)
    finally:
        shutil.rmtree(work)
        for process in desktop:
            process.terminate()


if __name__ == "__main__":
    main()
    subprocess.run([sys.executable, os.path.join(ROOT, "bench", "wavplayer_bench.py")], check=False)
