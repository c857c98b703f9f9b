#!/usr/bin/env python3
"""Peak memory of `tagstrip filter`, `check` and `scan` on big messages, as a multiple of
the message's size, and on a mailbox of many small messages with one big one (the peak
should follow the biggest message, not the mailbox).

    bench/memory_bench.py [--tagstrip build/tagstrip] [--only NAME ...] [--keep]

The inputs are made in the temporary directory and removed afterwards unless --keep is
given:
  single-line   a 200 MB HTML message on one line
  comment       an HTML message whose 40 MB comment never closes
  base64        a multipart message with a 50 MB base64 text/html part
  newsletter    a 20 MB newsletter of ordinary lines
  mailbox       the benchmark mailbox (bench/make_bench_mbox.py) with the newsletter
                in the middle, against the newsletter alone in a mailbox
filter runs twice: reading the message from a file into /dev/null, and reading it from a
pipe into a regular file (the case where a failed write has to start again with the
message as it came, which a pipe cannot give again).
Every category is removed (Flags 255, and 15 for the Remote analyzer). Peak RSS comes
from wait4; "x size" is peak RSS over the size of the biggest message. The inputs are
made by child processes, so that the measuring process stays small: a child forked from
a big process starts with the parent's peak.
"""
import argparse
import base64
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
MB = 1000 * 1000

HEADER = ("From: news@example.test\nTo: reader@example.test\nSubject: {subject}\n"
          "Message-ID: <{subject}@example.test>\nMIME-Version: 1.0\n")
HTML_HEADER = HEADER + "Content-Type: text/html; charset=utf-8\n\n"

ROW = ('<tr><td class="item" style="padding:4px"><a href="http://track.example.test/c?u={n}">'
       'Offer {n}</a> <img src="http://pixel.example.test/o.gif?id={n}" width="1" height="1">'
       '<script>var seen{n}=1;</script> plain words of the newsletter go here</td></tr>')


def rows(size, separator):
    parts = []
    total = 0
    n = 0
    while total < size:
        row = ROW.format(n=n) + separator
        parts.append(row)
        total += len(row)
        n += 1
    return "".join(parts)


def single_line(path):
    with open(path, "w") as out:
        out.write(HTML_HEADER.format(subject="single-line"))
        out.write("<html><body><table>")
        chunk = rows(MB, "")
        for _ in range(200):
            out.write(chunk)
        out.write("</table></body></html>\n")


def comment(path):
    with open(path, "w") as out:
        out.write(HTML_HEADER.format(subject="comment"))
        out.write("<html><body><p>Hello</p><!-- the comment that never closes ")
        line = "x" * 78 + "\n"
        out.write(line * (40 * MB // len(line)))


def base64_part(path):
    html = ("<html><body><table>" + rows(50 * MB * 3 // 4, "\r\n") + "</table></body></html>\r\n").encode()
    with open(path, "w") as out:
        out.write(HEADER.format(subject="base64"))
        out.write('Content-Type: multipart/alternative; boundary="b1"\n\n--b1\n'
                  "Content-Type: text/plain\n\nThe offers, in plain words.\n\n--b1\n"
                  "Content-Type: text/html; charset=utf-8\nContent-Transfer-Encoding: base64\n\n")
        out.write(base64.encodebytes(html).decode())
        out.write("\n--b1--\n")


def newsletter(path):
    with open(path, "w") as out:
        out.write(HTML_HEADER.format(subject="newsletter"))
        out.write("<html><head><style>td { color: #333 }</style></head><body><table>\n")
        out.write(rows(20 * MB, "\n"))
        out.write("</table></body></html>\n")


def as_mailbox(message_path, mailbox_path):
    with open(mailbox_path, "w") as out, open(message_path) as message:
        out.write("From news@example.test Mon Dec  7 00:00:00 2026\n")
        shutil.copyfileobj(message, out)
        out.write("\n")


def mailbox_with(message_path, small_mailbox, mailbox_path):
    """The small mailbox's first half, the big message, then its second half."""
    with open(small_mailbox) as small:
        text = small.read()
    middle = text.find("\nFrom ", len(text) // 2) + 1
    with open(mailbox_path, "w") as out, open(message_path) as message:
        out.write(text[:middle])
        out.write("From news@example.test Mon Dec  7 00:00:00 2026\n")
        shutil.copyfileobj(message, out)
        out.write("\n")
        out.write(text[middle:])


MESSAGES = {"single-line": single_line, "comment": comment, "base64": base64_part, "newsletter": newsletter}
MAKERS = dict(MESSAGES, mailbox=as_mailbox, mixed=mailbox_with)


def make(name, *paths):
    """Makes the file paths[-1] with MAKERS[name] in a child process, unless it exists."""
    if not os.path.exists(paths[-1]):
        subprocess.run([sys.executable, os.path.abspath(__file__), "--make", name] + list(paths), check=True)


def peak_rss(command, stdin_path=None, through_pipe=False, stdout_path=None):
    """Peak RSS in bytes of one run; exits when the program fails. Standard input is
    stdin_path, or cat's output of it when through_pipe; standard output is stdout_path
    or /dev/null."""
    feeder = None
    if through_pipe:
        feeder = subprocess.Popen(["cat", stdin_path], stdout=subprocess.PIPE)
        stdin = feeder.stdout
    else:
        stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    stdout = open(stdout_path, "wb") if stdout_path else subprocess.DEVNULL
    process = subprocess.Popen(command, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE)
    for stream in (stdin, stdout):
        if stream is not subprocess.DEVNULL:
            stream.close()
    errors = process.stderr.read().decode(errors="replace")
    _, status, usage = os.wait4(process.pid, 0)
    if feeder:
        feeder.wait()
    if stdout_path:
        os.remove(stdout_path)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("bench: %s failed:\n%s" % (" ".join(command), errors))
    return usage.ru_maxrss * 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tagstrip", default=os.path.join(HERE, "..", "build", "tagstrip"))
    parser.add_argument("--only", nargs="*", default=[])
    parser.add_argument("--keep", action="store_true", help="keep the inputs in the temporary directory")
    parser.add_argument("--make", nargs="+", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if arguments.make:
        MAKERS[arguments.make[0]](*arguments.make[1:])
        return

    work = os.path.join(tempfile.gettempdir(), "tagstrip-memory-bench")
    os.makedirs(work, exist_ok=True)
    config = tempfile.mkdtemp(prefix="tagstrip-memory-config-")
    with open(os.path.join(config, "Tagstrip.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=255\n")
    with open(os.path.join(config, "Remote.ini"), "w") as ini:
        ini.write("[Settings]\nFlags=15\n")
    tagstrip = arguments.tagstrip
    filter_command = [tagstrip, "filter", "--max-size", "0", "--config-dir", config]

    print("%-12s %-17s %10s %10s %8s" % ("input", "command", "size MB", "peak MB", "x size"))
    for name in MESSAGES:
        if arguments.only and name not in arguments.only:
            continue
        message = os.path.join(work, name + ".eml")
        mailbox = os.path.join(work, name + ".mbox")
        make(name, message)
        make("mailbox", message, mailbox)
        size = os.path.getsize(message)
        output = os.path.join(work, "filtered.eml")
        runs = [("filter", filter_command, dict(stdin_path=message)),
                ("filter pipe>file", filter_command,
                 dict(stdin_path=message, through_pipe=True, stdout_path=output)),
                ("check", [tagstrip, "check", "--config-dir", config, message], {}),
                ("scan", [tagstrip, "scan", "--config-dir", config, mailbox], {})]
        for command_name, command, streams in runs:
            peak = peak_rss(command, **streams)
            print("%-12s %-17s %10.1f %10.1f %8.2f" % (name, command_name, size / MB, peak / MB, peak / size),
                  flush=True)

    if not arguments.only or "mailbox" in arguments.only:
        message = os.path.join(work, "newsletter.eml")
        make("newsletter", message)
        alone = os.path.join(work, "newsletter.mbox")
        make("mailbox", message, alone)
        small = os.path.join(work, "small.mbox")
        if not os.path.exists(small):
            subprocess.run([sys.executable, os.path.join(HERE, "make_bench_mbox.py"), small], check=True,
                           stdout=subprocess.DEVNULL)
        mixed = os.path.join(work, "mixed.mbox")
        make("mixed", message, small, mixed)
        size = os.path.getsize(message)
        for name, path in [("small only", small), ("big only", alone), ("small+big", mixed)]:
            peak = peak_rss([tagstrip, "scan", "--config-dir", config, path])
            print("%-12s %-17s %10.1f %10.1f %8.2f   (mailbox %.1f MB)"
                  % (name, "scan", size / MB, peak / MB, peak / size, os.path.getsize(path) / MB), flush=True)

    shutil.rmtree(config)
    if not arguments.keep:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
