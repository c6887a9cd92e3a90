#!/usr/bin/python3
# SMTP server of the mail tests, the demo and the benchmarks on 127.0.0.1; usage:
# smtp_server.py TRANSCRIPT [KNOB...]. What it speaks, writes and the knobs it knows: see
# tests/mail/mail_fixtures.h.
import asyncio, json, ssl, sys

TRANSCRIPT, KNOBS = sys.argv[1], sys.argv[2:]
CERT = next((k[5:] for k in KNOBS if k.startswith("cert=")), None)
AUTH_WAIT = float(next((k[11:] for k in KNOBS if k.startswith("auth-delay=")), 0))
USER, PASSWORD = b"relay-user", b"change-me"


def record(line):
    """Appends a received line to the transcript, without its CR LF."""
    with open(TRANSCRIPT, "ab") as f:
        f.write(line.rstrip(b"\r\n") + (b"\n" if line.endswith(b"\r\n") else b" <bare LF>\n"))


# The lenient server of the plain dialogues: HELO, AUTH LOGIN straight after it, no command
# synchronisation, no un-stuffing.
REPLIES = {"HELO": "250 localhost", "MAIL": "250 2.1.0 OK", "QUIT": "221 2.0.0 Bye",
           "RCPT": "550 5.1.1 Recipient refused" if "refuse-rcpt" in KNOBS else "250 2.1.5 OK",
           "DATA": "354 End data with <CR><LF>.<CR><LF>", "AUTH": "334 VXNlcm5hbWU6"}
# The two lines after AUTH LOGIN: relay-user and change-me in Base64.
LOGIN = {b"cmVsYXktdXNlcg==": "334 UGFzc3dvcmQ6", b"Y2hhbmdlLW1l": "235 2.7.0 Authentication successful"}


async def lenient_session(reader, writer):
    def say(text):
        if "silent" not in KNOBS:
            writer.write(text.encode() + b"\r\n")

    say("220 localhost ESMTP test server ready")
    data, login = False, 0  # login: how many log-in lines are still due
    while raw := await reader.readline():
        record(raw)
        line = raw.rstrip(b"\r\n")
        verb = line.split(b" ")[0].decode("latin-1").upper()
        if data:
            data = line != b"."
            if not data:
                say("250 2.0.0 Message accepted")
        elif login:
            login = login - 1 if line in LOGIN else 0
            say(LOGIN.get(line, "535 5.7.8 Authentication credentials invalid"))
        else:
            data, login = verb == "DATA", 2 if verb == "AUTH" else 0
            say(REPLIES.get(verb, "500 5.5.2 Command not recognized"))
            if verb == "QUIT":
                break
        await writer.drain()
    await writer.drain()
    writer.close()


def strict_server():
    """aiosmtpd as a real submission server: AUTH only after EHLO (and after STARTTLS when it
    offers TLS), log-in required before MAIL, replies that refuse text sent ahead of them."""
    import logging, re, warnings
    from aiosmtpd.smtp import SMTP, AuthResult

    warnings.simplefilter("ignore")  # it warns of the plain set-up that the tests want
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)

    domain = re.compile(r"^(\[[0-9A-Fa-f:.IPv]+\]|[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?"
                        r"(\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)+)$")

    class Handler:
        async def handle_EHLO(self, server, session, envelope, hostname, responses):
            if not domain.match(hostname):
                session.extended_smtp = False
                return ["501 5.5.4 Invalid EHLO argument: not a domain or address literal"]
            session.host_name = hostname
            if "no-auth" in KNOBS:
                responses = [r for r in responses if not r[4:].startswith("AUTH")]
            return responses

        async def handle_RCPT(self, server, session, envelope, address, options):
            if "refuse-rcpt" in KNOBS:
                return "550 5.1.1 Recipient refused"
            envelope.rcpt_tos.append(address)
            return "250 2.1.5 OK"

        async def handle_DATA(self, server, session, envelope):
            message = {"from": envelope.mail_from, "to": envelope.rcpt_tos,
                       "encrypted": session.ssl is not None or "tls" in KNOBS,
                       "data": envelope.original_content.decode("utf-8", "replace")}
            with open(TRANSCRIPT + ".messages", "a") as f:
                f.write(json.dumps(message) + "\n")
            return "250 2.0.0 Message accepted"

    def authenticate(server, session, envelope, mechanism, data):
        good = data.login == USER and data.password == PASSWORD
        return AuthResult(success=good, handled=False)  # not handled: the server answers 535

    class Strict(SMTP):
        def _client_connected_cb(self, reader, writer):
            super()._client_connected_cb(reader, writer)
            original = reader.readuntil

            async def recorded(*args, **kwargs):
                record(line := await original(*args, **kwargs))
                return line
            reader.readuntil = recorded

        async def push(self, status):
            text = status if isinstance(status, str) else status.decode()
            # Text sent without waiting for the 354 has arrived; log-ins held back (auth-delay).
            await asyncio.sleep({"354": 0.05, "235": AUTH_WAIT, "535": AUTH_WAIT}.get(text[:3], 0))
            if self._reader._buffer:
                # Nothing may come before the reply it waits for (no PIPELINING offered).
                await super().push("554 5.5.0 SMTP synchronisation error: text sent before "
                                   "the reply")
                self.transport.close()
                raise asyncio.CancelledError()  # the session ends here; nothing more is read
            await super().push(status)

    context = None
    if CERT:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(CERT)
    exclude = ["LOGIN"] if "plain-only" in KNOBS else []
    starttls = context if "starttls" in KNOBS else None
    return lambda: Strict(Handler(), hostname="localhost", tls_context=starttls,
                          auth_required=True, auth_require_tls=starttls is not None,
                          authenticator=authenticate, auth_exclude_mechanism=exclude), context


async def main():
    if "lenient" in KNOBS:
        server = await asyncio.start_server(lenient_session, "127.0.0.1", 0)
    else:
        factory, context = strict_server()
        implicit = context if "tls" in KNOBS else None
        server = await asyncio.get_running_loop().create_server(factory, "127.0.0.1", 0,
                                                                ssl=implicit)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
