#!/usr/bin/python3
# SMTP server for the mail tests and the demo, on 127.0.0.1: it speaks what the two senders use
# (HELO, AUTH LOGIN, MAIL, RCPT, DATA, QUIT) and appends every line it receives, without its
# CR LF, to the transcript file as it arrives ("<bare LF>" marks a line that ended in LF alone).
# Prints "PORT <n>" once it listens. Usage: smtp_server.py TRANSCRIPT [KNOB...] with the knobs
# silent (never answer), refuse-rcpt (RCPT gets 550), password=P (the log-in it accepts is
# relay-user / P, change-me by default; any other gets 535).
import asyncio
import base64
import sys

TRANSCRIPT, KNOBS = sys.argv[1], sys.argv[2:]
PASSWORD = next((k[9:] for k in KNOBS if k.startswith("password=")), "change-me")
LOGIN = [base64.b64encode(b"relay-user"), base64.b64encode(PASSWORD.encode())]
REPLIES = {"HELO": "250 localhost", "MAIL": "250 2.1.0 OK", "QUIT": "221 2.0.0 Bye",
           "RCPT": "550 5.1.1 Recipient refused" if "refuse-rcpt" in KNOBS else "250 2.1.5 OK",
           "DATA": "354 End data with <CR><LF>.<CR><LF>", "AUTH": "334 VXNlcm5hbWU6"}


async def session(reader, writer):
    def say(text):
        if "silent" not in KNOBS:
            writer.write(text.encode() + b"\r\n")

    say("220 localhost ESMTP test server ready")
    data, login = False, None  # login: the log-in lines while AUTH LOGIN runs
    while raw := await reader.readline():
        line = raw.rstrip(b"\r\n")
        with open(TRANSCRIPT, "ab") as f:
            f.write(line + (b"\n" if raw.endswith(b"\r\n") else b" <bare LF>\n"))
        verb = line.split(b" ")[0].decode("latin-1").upper()
        if data:
            data = line != b"."
            if not data:
                say("250 2.0.0 Message accepted")
        elif login is not None:
            login.append(line)
            if len(login) == 1:
                say("334 UGFzc3dvcmQ6")
            else:
                say("235 2.7.0 Authentication successful" if login == LOGIN
                    else "535 5.7.8 Authentication credentials invalid")
                login = None
        else:
            data, login = verb == "DATA", [] if verb == "AUTH" else None
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
