#!/usr/bin/python3
# FTP server of the tests and the benchmark: a real pyftpdlib server on 127.0.0.1 whose user starts
# in /home/tulpa, with knobs that make it misbehave (see ftp_test_server.h), and TLS on request:
# explicit ("AUTH TLS") or implicit, optionally required, optionally refusing data connections
# that do not resume the control connection's TLS session, as vsftpd does by default.
import argparse
import logging
import os
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

p = argparse.ArgumentParser()
for name, n in (("--reply", 2), ("--every", 3), ("--silent", 1)):
    p.add_argument(name, nargs=n, action="append", default=[])
for name, kind in (("--root", str), ("--transcript", str), ("--data-stop", int),
                   ("--data-drip", float), ("--pasv-host", str), ("--throttle", int),
                   ("--control-drop", int), ("--stop-times", int), ("--tls-cert", str)):
    p.add_argument(name, type=kind)
for name in ("--tls-implicit", "--tls-required", "--tls-reuse", "--tls-wait-close", "--trickle"):
    p.add_argument(name, action="store_true")
p.add_argument("--data-stop-mode", choices=["close", "stall"], default="close")
ARGS = p.parse_args()
if ARGS.tls_cert:
    from OpenSSL import SSL
    from OpenSSL._util import lib as ssl_lib
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler
    HANDLER_BASES, DTP_BASES = (TLS_FTPHandler,), (TLS_DTPHandler, ThrottledDTPHandler)
else:
    HANDLER_BASES, DTP_BASES = (FTPHandler,), (ThrottledDTPHandler,)
REUSE_REFUSAL = "522 Data connection refused: it must resume the control connection's TLS session."
TRANSFERS = ("STOR", "RETR", "APPE", "STOU", "LIST", "NLST", "MLSD")
KNOBS = {cmd.upper(): (kind, [a.replace("\\r\\n", "\r\n") for a in rest])
         for kind in ("reply", "every", "silent") for cmd, *rest in getattr(ARGS, kind)}


class KnobDTP(*DTP_BASES):
    # --throttle: data goes no faster than this many bytes a second, in both directions.
    read_limit = write_limit = ARGS.throttle or 0
    stops = 0  # transfers stopped so far, over all sessions (--stop-times)

    def handle_ssl_established(self):
        """--tls-reuse: a data connection that did not resume the session is refused."""
        if not ARGS.tls_reuse or ssl_lib.SSL_session_reused(self.socket._ssl):
            return
        if self.cmd is None:  # no transfer asked for yet: refuse the one that comes
            self.cmd_channel.refuse_next_transfer = True
        else:
            self._resp = (REUSE_REFUSAL, lambda *a: None)
        self._error = True  # close at once, without a TLS shutdown
        self.close()

    def _do_ssl_shutdown(self):
        """--tls-wait-close: the server's TLS close, then a wait for the client's (or for its
        close) before the connection is closed and the transfer answered, as vsftpd does."""
        if not ARGS.tls_wait_close:
            return super()._do_ssl_shutdown()
        self._ssl_closing = True
        try:
            done = self.socket.shutdown()  # False until the client's TLS close has come
        except SSL.WantWriteError:
            done, self._ssl_want_write = False, True
        except SSL.WantReadError:
            done = False
        except (SSL.Error, OSError):
            done = True  # the client closed the connection
        if done:
            self._ssl_established = self._ssl_closing = False
            self.handle_ssl_shutdown()
        elif not self._ssl_want_write:
            self._ssl_want_read = True
            self.modify_ioloop_events(self.ioloop.READ)

    def stopped(self):
        """True once --data-stop's (or --control-drop's) bytes went through: the data
        connection is then closed or silent, or the control connection is closed."""
        limit = ARGS.control_drop if ARGS.control_drop is not None else ARGS.data_stop
        if limit is None or self.get_transmitted_bytes() < limit:
            return False
        if not getattr(self, "_hit", False):
            if ARGS.stop_times is not None and KnobDTP.stops >= ARGS.stop_times:
                return False
            KnobDTP.stops += 1
            self._hit = True
        if ARGS.control_drop is not None:
            self.cmd_channel.close()
        elif ARGS.data_stop_mode == "close":
            self._resp = ("426 Transfer stopped by the test server.", lambda *a: None)
            self.close()
        return True

    def readable(self):
        # A client may start TLS on a data connection before it sends the transfer command
        # (RFC 4217 allows either order); the handshake is read although no transfer is due yet.
        return (getattr(self, "_ssl_accepting", False) or getattr(self, "_ssl_closing", False) or
                (not self.stopped() and super().readable()))

    def writable(self):
        return not self.stopped() and super().writable()

    def send(self, data):
        if ARGS.data_drip:
            data = data[:1]
            self.del_channel()
            wake = lambda: self._closed or self.add_channel(events=self.ioloop.WRITE)
            self.ioloop.call_later(ARGS.data_drip, wake)
        return super().send(data)


class KnobHandler(*HANDLER_BASES):
    dtp_handler = KnobDTP
    tls_control_required = tls_data_required = ARGS.tls_required
    certfile = ARGS.tls_cert
    refuse_next_transfer = False
    permit_foreign_addresses = False
    auth_failed_timeout = 0.2  # pyftpdlib waits 3 s before refusing a login; keep tests quick

    def knob(self, cmd):
        """Plays the knob set for cmd; True when there is one (it stands in for the command)."""
        kind, args = KNOBS.get(cmd, (None, None))
        if kind == "reply":
            self.push(args[0] + "\r\n")
        elif kind == "every":
            self.repeat(args[0], float(args[1]), 20)
        return kind is not None

    def repeat(self, text, secs, left):
        if not self._closed:
            self.push(text + "\r\n") if left else self.close()
            self.ioloop.call_later(secs, self.repeat, text, secs, left - 1)

    def handle(self):
        if ARGS.tls_implicit:  # TLS from the first byte; the greeting waits for the handshake
            self.secure_connection(self.ssl_context)
        if not self.knob("GREETING"):
            HANDLER_BASES[0].handle(self)

    def push(self, s):
        if not ARGS.trickle:
            return HANDLER_BASES[0].push(self, s)
        now = time.monotonic()  # each byte is due a millisecond after the one before
        start = max(getattr(self, "_trickle_until", 0.0), now)
        for i, ch in enumerate(s):
            self.ioloop.call_later(start + 0.001 * (i + 1) - now, HANDLER_BASES[0].push, self, ch)
        self._trickle_until = start + 0.001 * (len(s) + 1)

    def on_login(self, username):
        self.fs.cwd = "/home/tulpa"

    def pre_process_command(self, line, cmd, arg):
        if ARGS.transcript:
            with open(ARGS.transcript, "a", encoding="utf-8", errors="surrogateescape") as f:
                f.write(line + "\n")
        if cmd in TRANSFERS and self.refuse_next_transfer:
            self.refuse_next_transfer = False
            self.respond(REUSE_REFUSAL)
        elif not self.knob(cmd):
            HANDLER_BASES[0].pre_process_command(self, line, cmd, arg)


if __name__ == "__main__":
    logging.basicConfig(level=logging.CRITICAL)
    os.makedirs(os.path.join(ARGS.root, "home", "tulpa", "public_html"), exist_ok=True)
    KnobHandler.authorizer = DummyAuthorizer()
    KnobHandler.authorizer.add_user("tulpa", "secret", ARGS.root, perm="elradfmwMT")
    KnobHandler.masquerade_address = ARGS.pasv_host
    if ARGS.tls_cert:
        context = KnobHandler.get_ssl_context()
        context.set_session_id(b"vexaro-tests")  # sessions may be resumed on data connections
    server = FTPServer(("127.0.0.1", 0), KnobHandler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=True)
