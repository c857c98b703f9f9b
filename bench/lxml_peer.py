#!/usr/bin/env python3
"""The peer that bench/scan_bench.py measures tagstrip against: Python's email package
and lxml's HTML Cleaner do the same job on an mbox. Every HTML part is parsed, stripped
of scripts, styles, formatting tables, images, links' extras, frames and meta refreshes,
and written back into its message; every message is serialised again.

    lxml_peer.py MBOX
Prints the message count and the number of HTML parts cleaned.
"""
import email
import email.policy
import sys

import lxml.html
from lxml.html.clean import Cleaner

CLEANER = Cleaner(scripts=True, javascript=True, comments=False, style=True, inline_style=True,
                  links=True, meta=True, page_structure=False, processing_instructions=True,
                  embedded=True, frames=True, forms=False, annoying_tags=False,
                  remove_tags=["table", "tr", "td", "th", "font", "div", "span", "center"],
                  kill_tags=["img"], safe_attrs_only=True, safe_attrs=frozenset(["href", "alt"]))


def messages(path):
    """Cuts an mbox at "From " lines that open the file or follow a blank line."""
    with open(path, "rb") as mbox:
        lines = []
        previous_blank = True
        for line in mbox:
            if line.startswith(b"From ") and previous_blank and lines:
                yield b"".join(lines)
                lines = []
            previous_blank = line in (b"\n", b"\r\n")
            lines.append(line)
        if lines:
            yield b"".join(lines)


def clean(text):
    document = lxml.html.document_fromstring(text)
    return lxml.html.tostring(CLEANER.clean_html(document), encoding="unicode")


def main():
    count = cleaned = 0
    with open("/dev/null", "wb") as out:
        for raw in messages(sys.argv[1]):
            count += 1
            from_line, _, body = raw.partition(b"\n")
            message = email.message_from_bytes(body, policy=email.policy.compat32)
            for part in message.walk():
                if part.get_content_type() != "text/html":
                    continue
                payload = part.get_payload(decode=True)
                if payload and payload.strip():
                    part.set_payload(clean(payload.decode("utf-8", "replace")), "utf-8")
                    cleaned += 1
            out.write(from_line + b"\n" + message.as_bytes())
    print("%d messages, %d HTML parts cleaned" % (count, cleaned))


if __name__ == "__main__":
    main()
