#!/usr/bin/python3
"""Where tagstrip filter may sit in the mail flow: after DKIM verification.

A signed message whose body the filter rewrites no longer verifies; one that the filter
only adds its header fields to (fields the signature does not cover) still does.
    dkim_test.py TAGSTRIP
"""
import subprocess
import sys
import tempfile

import dkim

SELECTOR = b"test"
DOMAIN = b"example.test"


def make_key(directory):
    key = directory + "/key.pem"
    subprocess.run(["openssl", "genrsa", "-out", key, "2048"], check=True, capture_output=True)
    public = subprocess.run(["openssl", "rsa", "-in", key, "-pubout", "-outform", "DER"],
                            check=True, capture_output=True).stdout
    der = subprocess.run(["base64", "-w0"], input=public, check=True, capture_output=True).stdout
    with open(key, "rb") as private:
        return private.read(), b"v=DKIM1; k=rsa; p=" + der


def main():
    tagstrip = sys.argv[1]
    with tempfile.TemporaryDirectory() as directory:
        private_key, record = make_key(directory)

        def dns(name, timeout=5):
            return record if name == SELECTOR + b"._domainkey." + DOMAIN + b"." else None

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
