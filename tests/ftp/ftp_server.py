#!/usr/bin/python3
"""FTP server for the tests and the benchmark: a real pyftpdlib server on 127.0.0.1 whose
user starts in /home/tulpa, with knobs to make it misbehave on purpose.

Prints "PORT <n>" on standard output once it listens. Each command line received is appended
to the transcript file (if given) as it arrives, before the server acts on it.

Knobs (each may be repeated where it names a command):
  --reply CMD TEXT      answer CMD with TEXT instead of running it ("\\r\\n" in TEXT allowed,
                        so TEXT can be a multi-line reply or something that is not FTP at all)
  --silent CMD          never answer CMD (GREETING: never send the greeting)
  --delay CMD SECONDS   wait before handling CMD
  --endless CMD         answer CMD with a line that never ends (megabytes without a line end)
  --data-stop BYTES     every data transfer stops after BYTES bytes ...
  --data-stop-mode M    ... by closing the data connection (close) or by going silent (stall)
  --pasv-host IP        name IP instead of 127.0.0.1 in the 227 reply
  --trickle             send every reply one byte at a time, a millisecond apart
"""
import argparse
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def parse():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", default="tulpa")
    p.add_argument("--password", default="secret")
    p.add_argument("--transcript")
    p.add_argument("--reply", nargs=2, action="append", default=[])
    p.add_argument("--silent", action="append", default=[])
    p.add_argument("--delay", nargs=2, action="append", default=[])
    p.add_argument("--endless", action="append", default=[])
    p.add_argument("--data-stop", type=int)
    p.add_argument("--data-stop-mode", choices=["close", "stall"], default="close")
    p.add_argument("--pasv-host")
    p.add_argument("--trickle", action="store_true")
    return p.parse_args()


ARGS = parse()
REPLIES = {cmd.upper(): text.replace("\\r\\n", "\r\n") for cmd, text in ARGS.reply}
SILENT = {c.upper() for c in ARGS.silent}
DELAYS = {cmd.upper(): float(s) for cmd, s in ARGS.delay}
ENDLESS = {c.upper() for c in ARGS.endless}


def record(line):
    if ARGS.transcript:
        with open(ARGS.transcript, "a", encoding="utf-8") as f:
            f.write(line + "\n")


class KnobDTP(DTPHandler):
    """Data channel that can stop after a number of bytes."""

    def use_sendfile(self):
        return False

    def _stopped(self):
        return ARGS.data_stop is not None and self.get_transmitted_bytes() >= ARGS.data_stop

    def _stop(self):
        if ARGS.data_stop_mode == "close":
            self._resp = ("426 Transfer stopped by the test server.", lambda *a: None)
            self.close()

    def readable(self):
        if self.receive and self._stopped():
            self._stop()
            return False
        return DTPHandler.readable(self)

    def writable(self):
        if not self.receive and self._stopped():
            self._stop()
            return False
        return DTPHandler.writable(self)

    def send(self, data):
        if ARGS.data_stop is not None:
            room = ARGS.data_stop - self.get_transmitted_bytes()
            if room <= 0:
                return 0
            data = data[:room]
        return DTPHandler.send(self, data)

    def recv(self, size):
        if ARGS.data_stop is not None:
            size = max(1, min(size, ARGS.data_stop - self.get_transmitted_bytes()))
        return DTPHandler.recv(self, size)


class KnobHandler(FTPHandler):
    dtp_handler = KnobDTP
    permit_foreign_addresses = False
    auth_failed_timeout = 0.2  # pyftpdlib waits 3 s before refusing a login; keep tests quick

    def handle(self):
        if "GREETING" in SILENT:
            return
        if "GREETING" in REPLIES:
            self.push(REPLIES["GREETING"] + "\r\n")
            return
        if "GREETING" in ENDLESS:
            self.push("220 " + "x" * (4 * 1024 * 1024))
            return
        FTPHandler.handle(self)

    def push(self, s):
        if not ARGS.trickle:
            return FTPHandler.push(self, s)
        # Bytes leave in order: each is due a little later than the one before, and replies
        # queued later start after the last byte of earlier ones.
        now = time.monotonic()
        start = max(getattr(self, "_trickle_until", 0.0), now)
        for i, ch in enumerate(s):
            self.ioloop.call_later(start + 0.001 * (i + 1) - now, FTPHandler.push, self, ch)
        self._trickle_until = start + 0.001 * (len(s) + 1)

    def on_login(self, username):
        self.fs.cwd = "/home/tulpa"

    def pre_process_command(self, line, cmd, arg):
        record(line if cmd != "PASS" else "PASS " + arg)
        if cmd in SILENT:
            return
        if cmd in REPLIES:
            self.push(REPLIES[cmd] + "\r\n")
            return
        if cmd in ENDLESS:
            self.push("200 " + "y" * (4 * 1024 * 1024))
            return
        if cmd in DELAYS:
            self.ioloop.call_later(DELAYS[cmd], FTPHandler.pre_process_command, self, line, cmd, arg)
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)


def main():
    home = os.path.join(ARGS.root, "home", "tulpa")
    os.makedirs(os.path.join(home, "public_html"), exist_ok=True)
    auth = DummyAuthorizer()
    auth.add_user(ARGS.user, ARGS.password, ARGS.root, perm="elradfmwMT")
    KnobHandler.authorizer = auth
    if ARGS.pasv_host:
        KnobHandler.masquerade_address = ARGS.pasv_host
    server = FTPServer(("127.0.0.1", 0), KnobHandler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    main()
