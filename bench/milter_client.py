#!/usr/bin/env python3
"""Sends messages straight to a milter over the milter protocol (version 6), as an MTA
would, from several connections at once, and prints messages per second: the milter's
own throughput, without an MTA.

    milter_client.py SOCKET MESSAGE_FILE MESSAGES SESSIONS
SOCKET is unix:PATH or inet:PORT@127.0.0.1."""
import socket
import struct
import sys
import threading
import time

# Protocol steps the milter may decline (SMFIP_NO*) or answer without a reply (SMFIP_NR_*).
NO_CONNECT, NO_MAIL, NO_RCPT, NO_BODY, NO_HEADERS, NO_EOH = 0x1, 0x4, 0x8, 0x10, 0x20, 0x40
NR_HEADER, NR_CONNECT, NR_MAIL, NR_RCPT, NR_EOH, NR_BODY = 0x80, 0x1000, 0x4000, 0x8000, 0x40000, 0x80000
OFFERED_ACTIONS, OFFERED_STEPS = 0x1FF, 0x1FFFFF
FINAL_REPLIES = b"acrtdy"  # accept, continue, reject, tempfail, discard, reply code


class MilterConnection:
    def __init__(self, address):
        if address.startswith("unix:"):
            self.sock = socket.socket(socket.AF_UNIX)
            self.sock.connect(address[5:])
        else:
            port, host = address[5:].split("@")
            self.sock = socket.create_connection((host, int(port)))
        self.send(b"O", struct.pack(">III", 6, OFFERED_ACTIONS, OFFERED_STEPS))
        _, data = self.receive()
        _, _, self.steps = struct.unpack(">III", data[:12])

    def send(self, command, data=b""):
        self.sock.sendall(struct.pack(">I", len(data) + 1) + command + data)

    def receive(self):
        header = self.exact(5)
        length = struct.unpack(">I", header[:4])[0]
        return header[4:5], self.exact(length - 1)

    def exact(self, count):
        data = b""
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise EOFError("the milter closed the connection")
            data += chunk
        return data

    # Sends one step unless the milter declined it; waits for the final reply when one is due.
    def step(self, command, data, declined, no_reply):
        if self.steps & declined:
            return
        self.send(command, data)
        if not self.steps & no_reply:
            self.final_reply()

    def final_reply(self):
        while True:
            reply, _ = self.receive()
            if reply in FINAL_REPLIES:
                return reply

    def message(self, fields, body):
        self.step(b"M", b"<sender@example.com>\0", NO_MAIL, NR_MAIL)
        self.step(b"R", b"<reader@example.test>\0", NO_RCPT, NR_RCPT)
        for name, value in fields:
            self.step(b"L", name + b"\0" + value + b"\0", NO_HEADERS, NR_HEADER)
        self.step(b"N", b"", NO_EOH, NR_EOH)
        for start in range(0, len(body), 65535):
            self.step(b"B", body[start:start + 65535], NO_BODY, NR_BODY)
        self.send(b"E")
        return self.final_reply()


def parse(text):
    header, _, body = text.replace(b"\r\n", b"\n").partition(b"\n\n")
    fields = []
    for line in header.split(b"\n"):
        if line[:1] in (b" ", b"\t"):
            fields[-1] = (fields[-1][0], fields[-1][1] + b"\n" + line)
        else:
            name, _, value = line.partition(b":")
            fields.append((name, value))
    return fields, body.replace(b"\n", b"\r\n")


def session(address, fields, body, count, failures):
    try:
        connection = MilterConnection(address)
        connection.step(b"C", b"localhost\x004\x00\x19127.0.0.1\0", NO_CONNECT, NR_CONNECT)
        for _ in range(count):
            if connection.message(fields, body) not in (b"a", b"c"):
                failures.append("a message was not accepted")
        connection.send(b"Q")
    except (OSError, EOFError) as error:
        failures.append(str(error))


def main():
    address, path, messages, sessions = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    with open(path, "rb") as file:
        fields, body = parse(file.read())
    failures = []
    threads = [threading.Thread(target=session, args=(address, fields, body, messages // sessions, failures))
               for _ in range(sessions)]
    start = time.monotonic()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    seconds = time.monotonic() - start
    sent = messages // sessions * sessions
    print(f"{sent} messages in {seconds:.2f} s: {sent / seconds:.0f} messages/s")
    if failures:
        print("failures:", failures[:3], file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
