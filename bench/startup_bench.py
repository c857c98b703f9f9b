#!/usr/bin/env python3
"""Per-process cost of `tagstrip filter` on a tiny message, against a bare process that
copies standard input to standard output (/bin/cat), in interleaved runs.

    bench/startup_bench.py [--tagstrip build/tagstrip] [--runs 300]

Prints, for each, the median and the 10th percentile of the wall time and of the CPU
time (user + system, from wait4) of one run, and tagstrip's excess over the bare
process. Both analyzers run (Flags 255, and 15 for the Remote analyzer) on two short
messages, so that the analysis itself costs next to nothing: a plain-text one, as most
mail is, and an HTML one with a remote image.
"""
import argparse
import os
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

HEADER = b"From: news@example.test\nTo: reader@example.test\nSubject: tiny\n"
MESSAGES = {
    "plain": HEADER + b"\nHello, see you tomorrow.\n",
    "html": HEADER + b"Content-Type: text/html\n\n<p>Hello <img src=\"http://pixel.example.test/o.gif\"></p>\n",
}


def run_once(command, stdin_path):
    """Wall and CPU seconds of one run, its output thrown away."""
    with open(stdin_path, "rb") as stdin, open(os.devnull, "wb") as stdout:
        start = time.perf_counter()
        pid = os.posix_spawn(command[0], command, os.environ, file_actions=[
            (os.POSIX_SPAWN_DUP2, stdin.fileno(), 0), (os.POSIX_SPAWN_DUP2, stdout.fileno(), 1)])
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("bench: %s failed" % " ".join(command))
    return wall, usage.ru_utime + usage.ru_stime


def summary(samples):
    ordered = sorted(samples)
    return statistics.median(ordered), ordered[len(ordered) // 10]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tagstrip", default=os.path.join(HERE, "..", "build", "tagstrip"))
    parser.add_argument("--runs", type=int, default=300)
    arguments = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tagstrip-startup-")
    with open(os.path.join(work, "Tagstrip.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=255\n")
    with open(os.path.join(work, "Remote.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=15\n")
    systems = [("bare (/bin/cat)", ["/bin/cat"], "plain")]
    for kind, text in MESSAGES.items():
        with open(os.path.join(work, kind + ".eml"), "wb") as out:
            out.write(text)
        systems.append(("filter, " + kind, [os.path.abspath(arguments.tagstrip), "filter", "--config-dir", work], kind))
    results = {name: ([], []) for name, _, _ in systems}
    for _ in range(arguments.runs):
        for name, command, kind in systems:
            wall, cpu = run_once(command, os.path.join(work, kind + ".eml"))
            results[name][0].append(wall)
            results[name][1].append(cpu)

    print("%-18s %12s %12s %12s %12s" % ("system", "wall ms", "wall p10", "cpu ms", "cpu p10"))
    rows = {}
    for name, _, _ in systems:
        wall, cpu = results[name]
        rows[name] = summary(wall) + summary(cpu)
        print("%-18s %12.3f %12.3f %12.3f %12.3f" % ((name,) + tuple(value * 1000 for value in rows[name])))
    bare = rows[systems[0][0]]
    for name, _, _ in systems[1:]:
        print("%-18s %12.3f %12.3f %12.3f %12.3f"
              % (("excess, " + name[8:],) + tuple((t - b) * 1000 for t, b in zip(rows[name], bare))))
    for name in os.listdir(work):
        os.unlink(os.path.join(work, name))
    os.rmdir(work)


if __name__ == "__main__":
    main()
