#!/usr/bin/python3
"""DKIM for the tests, with a key of the test's own and no DNS.

    dkim_tool.py keygen DIR            a 2048-bit key: DIR/key.pem and its DNS record DIR/record
    dkim_tool.py sign DIR < MESSAGE    the message signed for example.test (selector test)
    dkim_tool.py verify DIR < MESSAGE  exit 0 when the signature verifies, else 1

Messages are taken in either line end and handled in CRLF, as they travel.
"""
import subprocess
import sys

import dkim

SELECTOR = b"test"
DOMAIN = b"example.test"
SIGNED_FIELDS = [b"from", b"to", b"subject", b"mime-version", b"content-type"]


def wire_form(message):
    return message.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def keygen(directory):
    """Makes DIR/key.pem and DIR/record; returns the private key and the record."""
    key = directory + "/key.pem"
    subprocess.run(["openssl", "genrsa", "-out", key, "2048"], check=True, capture_output=True)
    public = subprocess.run(["openssl", "rsa", "-in", key, "-pubout", "-outform", "DER"],
                            check=True, capture_output=True).stdout
    der = subprocess.run(["base64", "-w0"], input=public, check=True, capture_output=True).stdout
    record = b"v=DKIM1; k=rsa; p=" + der
    with open(directory + "/record", "wb") as file:
        file.write(record)
    with open(key, "rb") as private:
        return private.read(), record


def dns_answering(record):
    """A resolver for dkim.verify that knows only the test's own key record."""
    def dns(name, timeout=5):
        return record if name == SELECTOR + b"._domainkey." + DOMAIN + b"." else None
    return dns


def sign(directory, message):
    with open(directory + "/key.pem", "rb") as key:
        signature = dkim.sign(message, SELECTOR, DOMAIN, key.read(), include_headers=SIGNED_FIELDS,
                              canonicalize=(b"relaxed", b"simple"))
    sys.stdout.buffer.write(signature + message)


def verify(directory, message):
    with open(directory + "/record", "rb") as file:
        record = file.read()
    sys.exit(0 if dkim.verify(message, dnsfunc=dns_answering(record)) else 1)


def main():
    command, directory = sys.argv[1], sys.argv[2]
    if command == "keygen":
        keygen(directory)
    elif command == "sign":
        sign(directory, wire_form(sys.stdin.buffer.read()))
    elif command == "verify":
        verify(directory, wire_form(sys.stdin.buffer.read()))
    else:
        sys.exit(f"dkim_tool.py: unknown command {command}")


if __name__ == "__main__":
    main()
