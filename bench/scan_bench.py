#!/usr/bin/env python3
"""Measures `tagstrip scan` against the Python lxml peer on the benchmark mailbox, in
paired runs (tagstrip, peer, tagstrip, peer, ...), and prints for each run and for the
median: seconds, MB/s, peak RSS, and the ratio of tagstrip's speed to the peer's.

    bench/scan_bench.py [--tagstrip build/tagstrip] [--rounds 3] [--jobs N ...] [--mbox PATH]

The mailbox is made by bench/make_bench_mbox.py when PATH does not exist. Every category
is removed (Flags 255, and 15 for the Remote analyzer). "tagstrip scan -j 1" runs both
analyzers, as installed, on one thread; "Tagstrip alone" only the first, so the
difference is what the Remote analyzer costs. tagstrip also runs with `scan -j N` for
each N of --jobs (default: the number of cores), and the speed-up over -j 1 is printed.
CPU time (user + system) is printed beside the wall-clock time: on a busy machine it is
the steadier figure; the load average before the first round is printed too.
--tmpdir DIR runs tagstrip with TMPDIR=DIR, to compare where the analyzer's temporary
files go (a disk-backed /tmp against a tmpfs such as /dev/shm).
"""
import argparse
import atexit
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def measure(command, environment=None):
    """Wall seconds, CPU seconds and peak RSS in MiB of one run of command."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=environment)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    exit_code = os.waitstatus_to_exitcode(status)
    if exit_code != 0:
        sys.exit("bench: %s failed with %d:\n%s" % (" ".join(command), exit_code, errors))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tagstrip", default=os.path.join(HERE, "..", "build", "tagstrip"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--jobs", type=int, nargs="*", default=[os.cpu_count() or 1])
    parser.add_argument("--mbox", default=os.path.join(tempfile.gettempdir(), "tagstrip-bench.mbox"))
    parser.add_argument("--python", default="/usr/bin/python3", help="a Python with lxml")
    parser.add_argument("--tmpdir", help="TMPDIR for tagstrip, e.g. /dev/shm")
    arguments = parser.parse_args()

    if not os.path.exists(arguments.mbox):
        subprocess.run([arguments.python, os.path.join(HERE, "make_bench_mbox.py"), arguments.mbox], check=True)
    megabytes = os.path.getsize(arguments.mbox) / 1e6
    config = tempfile.mkdtemp(prefix="tagstrip-bench-")
    atexit.register(shutil.rmtree, config, True)
    with open(os.path.join(config, "Tagstrip.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=255\n")
    with open(os.path.join(config, "Remote.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=15\n")
    tagstrip_module = os.path.join(os.path.dirname(arguments.tagstrip), "Tagstrip.Analyzer")

    one_thread = "tagstrip scan -j 1"
    systems = [(one_thread, [arguments.tagstrip, "scan", "-j", "1", "--config-dir", config, arguments.mbox]),
               ("Tagstrip alone", [arguments.tagstrip, "scan", "-j", "1", "--config-dir", config,
                                   "--module", tagstrip_module, arguments.mbox])]
    for jobs in arguments.jobs:
        if jobs != 1:
            systems.append(("tagstrip scan -j %d" % jobs,
                            [arguments.tagstrip, "scan", "-j", str(jobs), "--config-dir", config, arguments.mbox]))
    peer = ("python lxml", [arguments.python, os.path.join(HERE, "lxml_peer.py"), arguments.mbox])
    systems.append(peer)

    print("mailbox: %s, %.1f MB; %d cores; load average %.2f %.2f %.2f"
          % ((arguments.mbox, megabytes, os.cpu_count() or 1) + os.getloadavg()))
    print("%-20s %5s %8s %8s %8s %8s %9s %8s" % ("system", "round", "wall s", "cpu s", "MB/s", "cpu MB/s",
                                                 "RSS MiB", "x peer"))
    environment = dict(os.environ, TMPDIR=arguments.tmpdir) if arguments.tmpdir else None
    results = {name: [] for name, _ in systems}
    for round_number in range(1, arguments.rounds + 1):
        runs = {name: measure(command, None if name == peer[0] else environment) for name, command in systems}
        for name, _ in systems:
            wall, cpu, rss = runs[name]
            results[name].append((wall, cpu, rss, runs[peer[0]][0] / wall))
            print("%-20s %5d %8.3f %8.3f %8.1f %8.1f %9.1f %8.2f"
                  % (name, round_number, wall, cpu, megabytes / wall, megabytes / cpu, rss,
                     runs[peer[0]][0] / wall))
    print("median of %d paired rounds:" % arguments.rounds)
    for name, _ in systems:
        walls, cpus, rsses, ratios = zip(*results[name])
        wall = statistics.median(walls)
        cpu = statistics.median(cpus)
        print("%-20s %5s %8.3f %8.3f %8.1f %8.1f %9.1f %8.2f"
              % (name, "", wall, cpu, megabytes / wall, megabytes / cpu, max(rsses), statistics.median(ratios)))
    print("speed-up over -j 1 (median of the paired ratios; wall, and CPU time spent):")
    for name, _ in systems:
        if name.startswith("tagstrip scan -j ") and name != one_thread:
            speedups = [one[0] / many[0] for one, many in zip(results[one_thread], results[name])]
            cpu_ratio = statistics.median(many[1] / one[1] for one, many in zip(results[one_thread], results[name]))
            print("%-20s %8.2fx wall, %.2fx the CPU time" % (name, statistics.median(speedups), cpu_ratio))


if __name__ == "__main__":
    main()
