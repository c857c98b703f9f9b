#!/usr/bin/env python3
"""Measures `tagstrip scan` against the Python lxml peer on the benchmark mailbox, in
paired runs (tagstrip, peer, tagstrip, peer, ...), and prints for each run and for the
median: seconds, MB/s and the ratio of tagstrip's speed to the peer's; and peak RSS.

    bench/scan_bench.py [--tagstrip build/tagstrip] [--rounds 3] [--jobs N ...] [--mbox PATH]

The mailbox is made by bench/make_bench_mbox.py when PATH does not exist. Every category
is removed (Flags 255, and 15 for the Remote analyzer). "tagstrip scan -j 1" runs both
analyzers, as installed, on one thread; "Tagstrip alone" only the first, so the
difference is what the Remote analyzer costs. tagstrip also runs with `scan -j N` for
each N of --jobs (default: the number of cores), and the speed-up over -j 1 is printed.
Beside each, N separate "scan -j 1" processes run at once, each on its Nth of the mailbox
(cut between messages): their speed-up is what this machine gives N independent
processes at that moment, the yardstick for what N threads can reach on it.
CPU time (user + system) is printed beside the wall-clock time: on a busy machine it is
the steadier figure; the load average before the first round is printed too. Peak RSS
comes from one more run of each under GNU time (/usr/bin/time): the figure wait4 gives
for a child of this script is at least this script's own peak, which is more than
tagstrip's.
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


def measure(commands, environment=None):
    """Wall seconds until the last of commands, run at once, ends, and their CPU seconds
    together."""
    start = time.perf_counter()
    processes = [(command, subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                            env=environment)) for command in commands]
    cpu = 0.0
    for command, process in processes:
        errors = process.stderr.read().decode(errors="replace")
        process.stderr.close()
        _, status, usage = os.wait4(process.pid, 0)
        exit_code = os.waitstatus_to_exitcode(status)
        if exit_code != 0:
            sys.exit("bench: %s failed with %d:\n%s" % (" ".join(command), exit_code, errors))
        cpu += usage.ru_utime + usage.ru_stime
    return time.perf_counter() - start, cpu


def peak_rss(commands, directory, environment=None):
    """The largest peak RSS in MiB of commands, run at once under GNU time."""
    reports = [os.path.join(directory, "rss%d" % number) for number in range(len(commands))]
    processes = [subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", report] + command,
                                  stdout=subprocess.DEVNULL, env=environment)
                 for command, report in zip(commands, reports)]
    for process in processes:
        process.wait()
    peaks = []
    for report in reports:
        with open(report) as text:
            peaks.append(int(text.read().split()[-1]) / 1024.0)
    return max(peaks)


def split_mbox(mbox, parts, directory):
    """Paths of parts files holding the messages of mbox, cut between messages into
    pieces of about the same size."""
    with open(mbox, "rb") as source:
        text = source.read()
    cuts = [0]
    for part in range(1, parts):
        cut = text.find(b"\n\nFrom ", len(text) * part // parts)
        cuts.append(len(text) if cut < 0 else cut + 2)
    cuts.append(len(text))
    paths = []
    for part in range(parts):
        paths.append(os.path.join(directory, "part%d.mbox" % part))
        with open(paths[-1], "wb") as piece:
            piece.write(text[cuts[part]:cuts[part + 1]])
    return paths


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
    scan = [arguments.tagstrip, "scan", "--config-dir", config]
    systems = [(one_thread, [scan + ["-j", "1", arguments.mbox]]),
               ("Tagstrip alone", [scan + ["-j", "1", "--module", tagstrip_module, arguments.mbox]])]
    for jobs in arguments.jobs:
        if jobs != 1:
            systems.append(("tagstrip scan -j %d" % jobs, [scan + ["-j", str(jobs), arguments.mbox]]))
            systems.append(("%d x -j 1, 1/%d each" % (jobs, jobs),
                            [scan + ["-j", "1", part] for part in split_mbox(arguments.mbox, jobs, config)]))
    peer = "python lxml"
    systems.append((peer, [[arguments.python, os.path.join(HERE, "lxml_peer.py"), arguments.mbox]]))

    print("mailbox: %s, %.1f MB; %d cores; load average %.2f %.2f %.2f"
          % ((arguments.mbox, megabytes, os.cpu_count() or 1) + os.getloadavg()))
    print("%-20s %5s %8s %8s %8s %8s %9s %8s" % ("system", "round", "wall s", "cpu s", "MB/s", "cpu MB/s",
                                                 "RSS MiB", "x peer"))
    environment = dict(os.environ, TMPDIR=arguments.tmpdir) if arguments.tmpdir else None
    environments = {name: None if name == peer else environment for name, _ in systems}
    results = {name: [] for name, _ in systems}
    for round_number in range(1, arguments.rounds + 1):
        runs = {name: measure(commands, environments[name]) for name, commands in systems}
        for name, _ in systems:
            wall, cpu = runs[name]
            results[name].append((wall, cpu, runs[peer][0] / wall))
            print("%-20s %5d %8.3f %8.3f %8.1f %8.1f %9s %8.2f"
                  % (name, round_number, wall, cpu, megabytes / wall, megabytes / cpu, "", runs[peer][0] / wall))
    print("median of %d paired rounds, peak RSS of one more run:" % arguments.rounds)
    for name, commands in systems:
        walls, cpus, ratios = zip(*results[name])
        wall = statistics.median(walls)
        cpu = statistics.median(cpus)
        print("%-20s %5s %8.3f %8.3f %8.1f %8.1f %9.1f %8.2f"
              % (name, "", wall, cpu, megabytes / wall, megabytes / cpu,
                 peak_rss(commands, config, environments[name]), statistics.median(ratios)))
    print("speed-up over -j 1 (median of the paired ratios; wall, and CPU time spent):")
    for name, _ in systems:
        if name in (one_thread, "Tagstrip alone", peer):
            continue
        speedups = [one[0] / many[0] for one, many in zip(results[one_thread], results[name])]
        cpu_ratio = statistics.median(many[1] / one[1] for one, many in zip(results[one_thread], results[name]))
        print("%-20s %8.2fx wall, %.2fx the CPU time" % (name, statistics.median(speedups), cpu_ratio))


if __name__ == "__main__":
    main()
