#!/usr/bin/python3
# SMTP server of the mail tests and the demo on 127.0.0.1; usage: smtp_server.py TRANSCRIPT
# [KNOB...]. What it speaks, writes and the knobs it knows: see tests/mail/mail_fixtures.h.
import asyncio
import sys

TRANSCRIPT, KNOBS = sys.argv[1], sys.argv[2:]
REPLIES = {"HELO": "250 localhost", "MAIL": "250 2.1.0 OK", "QUIT": "221 2.0.0 Bye",
           "RCPT": "550 5.1.1 Recipient refused" if "refuse-rcpt" in KNOBS else "250 2.1.5 OK",
           "DATA": "354 End data with <CR><LF>.<CR><LF>", "AUTH": "334 VXNlcm5hbWU6"}
# The two lines after AUTH LOGIN: relay-user and change-me in Base64.
LOGIN = {b"cmVsYXktdXNlcg==": "334 UGFzc3dvcmQ6", b"Y2hhbmdlLW1l": "235 2.7.0 Authentication successful"}


async def session(reader, writer):
    def say(text):
        if "silent" not in KNOBS:
            writer.write(text.encode() + b"\r\n")

    say("220 localhost ESMTP test server ready")
    data, login = False, 0  # login: how many log-in lines are still due
    while raw := await reader.readline():
        line = raw.rstrip(b"\r\n")
        with open(TRANSCRIPT, "ab") as f:
            f.write(line + (b"\n" if raw.endswith(b"\r\n") else b" <bare LF>\n"))
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


async def main():
    server = await asyncio.start_server(session, "127.0.0.1", 0)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
