#!/usr/bin/python3
"""Where tagstrip filter may sit in the mail flow: after DKIM verification.

A signed message whose body the filter rewrites no longer verifies; one that the filter
only adds its header fields to (fields the signature does not cover) still does.
    dkim_test.py TAGSTRIP
"""
import os
import subprocess
import sys
import tempfile

import dkim

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dkim_tool import DOMAIN, SELECTOR, dns_answering, keygen  # noqa: E402


def main():
    tagstrip = sys.argv[1]
    with tempfile.TemporaryDirectory() as directory:
        private_key, record = keygen(directory)
        dns = dns_answering(record)

        messages = {
            "script removed": b"<p>Hello <script>track()</script>there</p>\r\n",
            "nothing removed": b"<p>Hello there</p>\r\n",
        }
        expected = {"script removed": False, "nothing removed": True}
        failures = 0
        for name, body in messages.items():
            message = (b"From: news@example.test\r\nTo: reader@example.net\r\nSubject: signed\r\n"
                       b"Content-Type: text/html\r\n\r\n" + body)
            signed = dkim.sign(message, SELECTOR, DOMAIN, private_key,
                               include_headers=[b"from", b"to", b"subject", b"content-type"]) + message
            if not dkim.verify(signed, dnsfunc=dns):
                print(f"FAIL: {name}: the signed message does not verify before filtering")
                failures += 1
                continue
            filtered = subprocess.run([tagstrip, "filter", "--config-dir", directory], input=signed,
                                      check=True, capture_output=True).stdout
            verified = dkim.verify(filtered, dnsfunc=dns)
            if verified != expected[name]:
                print(f"FAIL: {name}: after filtering the signature verifies: {verified}, "
                      f"wanted {expected[name]}")
                failures += 1
        if failures:
            sys.exit(1)
        print("a rewritten body breaks the DKIM signature; added header fields alone do not")


main()
