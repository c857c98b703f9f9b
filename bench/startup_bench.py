#!/usr/bin/env python3
"""Per-process cost of `tagstrip filter` on a tiny message, against a bare process that
copies standard input to standard output (/bin/cat), in interleaved runs.

    bench/startup_bench.py [--tagstrip build/tagstrip] [--runs 300]
                           [--installed [--bin-entries N]]

Prints, for each, the median and the 10th percentile of the wall time and of the CPU
time (user + system, from wait4) of one run, and tagstrip's excess over the bare
process. Both analyzers run (Flags 255, and 15 for the Remote analyzer) on two short
messages, so that the analysis itself costs next to nothing: a plain-text one, as most
mail is, and an HTML one with a remote image.

--installed measures the program as installed (cmake --install of the build tree the
program is in, into a temporary prefix) instead of the build tree's, whose RUNPATH makes
the loader look for every system library in the current directory too. --bin-entries
puts that many other files beside the installed program, as in /usr/bin, which the
filter lists for modules on every run. The runs get a temporary directory of their own,
so that other programs' leftovers there do not set off the filter's sweep.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

HEADER = b"From: news@example.test\nTo: reader@example.test\nSubject: tiny\n"
MESSAGES = {
    "plain": HEADER + b"\nHello, see you tomorrow.\n",
    "html": HEADER + b"Content-Type: text/html\n\n<p>Hello <img src=\"http://pixel.example.test/o.gif\"></p>\n",
}


def run_once(command, stdin_path, environment=None):
    """Wall and CPU seconds of one run, its output thrown away."""
    with open(stdin_path, "rb") as stdin, open(os.devnull, "wb") as stdout:
        start = time.perf_counter()
        pid = os.posix_spawn(command[0], command, environment or os.environ, file_actions=[
            (os.POSIX_SPAWN_DUP2, stdin.fileno(), 0), (os.POSIX_SPAWN_DUP2, stdout.fileno(), 1)])
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("bench: %s failed" % " ".join(command))
    return wall, usage.ru_utime + usage.ru_stime


def install(build, root, bin_entries):
    """Installs the build tree under root as into /usr (the settings and the service go to
    absolute places, which DESTDIR keeps under root too), with bin_entries other files
    beside the program; the installed program."""
    done = subprocess.run(["cmake", "--install", build, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=root),
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit("bench: cmake --install %s failed (is everything built?):\n%s" % (build, done.stderr))
    bin_directory = os.path.join(root, "usr", "bin")
    for number in range(bin_entries):
        open(os.path.join(bin_directory, "program-%d" % number), "w").close()
    return os.path.join(bin_directory, "tagstrip")


def summary(samples):
    ordered = sorted(samples)
    return statistics.median(ordered), ordered[len(ordered) // 10]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tagstrip", default=os.path.join(HERE, "..", "build", "tagstrip"))
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--installed", action="store_true")
    parser.add_argument("--bin-entries", type=int, default=0)
    arguments = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tagstrip-startup-")
    tagstrip = os.path.abspath(arguments.tagstrip)
    if arguments.installed:
        tagstrip = install(os.path.dirname(tagstrip), os.path.join(work, "root"), arguments.bin_entries)
    os.mkdir(os.path.join(work, "tmp"))
    environment = dict(os.environ, TMPDIR=os.path.join(work, "tmp"))
    with open(os.path.join(work, "Tagstrip.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=255\n")
    with open(os.path.join(work, "Remote.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=15\n")
    systems = [("bare (/bin/cat)", ["/bin/cat"], "plain")]
    for kind, text in MESSAGES.items():
        with open(os.path.join(work, kind + ".eml"), "wb") as out:
            out.write(text)
        systems.append(("filter, " + kind, [tagstrip, "filter", "--config-dir", work], kind))
    results = {name: ([], []) for name, _, _ in systems}
    for _ in range(arguments.runs):
        for name, command, kind in systems:
            wall, cpu = run_once(command, os.path.join(work, kind + ".eml"), environment)
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
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
