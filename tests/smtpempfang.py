#!/usr/bin/env python3
"""Real mail server and mail reader for the mail tests.

  smtpempfang.py server ORDNER [--starttls|--ssl ZERTIFIKAT SCHLUESSEL] [BENUTZER PASSWORT]
      Runs an aiosmtpd server on a free port of 127.0.0.1, prints the port on
      one line and stores every message it accepts as ORDNER/NNNNN.eml, in the
      order of arrival. With a user and password it offers AUTH and accepts only
      those. --starttls requires STARTTLS before anything else, --ssl speaks TLS
      from the first byte; both with the given PEM files. Recipients listed in
      ORDNER/ablehnen (one address a line, read at every RCPT) are refused with 550.
  smtpempfang.py lesen DATEI...
      Parses stored messages with the email package and prints, as one JSON
      list (UTF-8), per message subject, sender name, sender address,
      recipient, the Date: header in seconds since the epoch and body.
"""
import asyncio
import email
import email.policy
import itertools
import json
import os
import sys


def server(ordner, *argumente):
    import ssl
    from aiosmtpd.smtp import SMTP, AuthResult

    tls, kontext = None, None
    if argumente and argumente[0].startswith("--"):
        tls, zertifikat, schluessel, *argumente = argumente
        kontext = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        kontext.load_cert_chain(zertifikat, schluessel)
    benutzer, passwort = argumente if argumente else (None, None)

    nummern = itertools.count()

    class Ablage:
        async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
            try:
                with open(os.path.join(ordner, "ablehnen"), encoding="utf-8") as f:
                    abgelehnt = f.read().split()
            except FileNotFoundError:
                abgelehnt = []
            if address in abgelehnt:
                return "550 Empfaenger abgelehnt"
            envelope.rcpt_tos.append(address)
            return "250 OK"

        async def handle_DATA(self, server, session, envelope):
            name = os.path.join(ordner, "%05d.eml" % next(nummern))
            with open(name + ".tmp", "wb") as f:
                f.write(envelope.original_content)
            os.rename(name + ".tmp", name)
            return "250 OK"

    def pruefen(server, session, envelope, mechanism, auth_data):
        ok = auth_data.login == benutzer.encode() and auth_data.password == passwort.encode()
        return AuthResult(success=ok, handled=False)

    optionen = {}
    if benutzer is not None:
        # Over STARTTLS the login is taken only once the connection is protected.
        optionen = dict(authenticator=pruefen, auth_require_tls=tls == "--starttls", auth_required=True)
    if tls == "--starttls":
        optionen.update(tls_context=kontext, require_starttls=True)

    async def starten():
        loop = asyncio.get_running_loop()
        srv = await loop.create_server(lambda: SMTP(Ablage(), **optionen), "127.0.0.1", 0,
                                       ssl=kontext if tls == "--ssl" else None)
        print(srv.sockets[0].getsockname()[1], flush=True)
        await srv.serve_forever()

    asyncio.run(starten())


def lesen(datei):
    with open(datei, "rb") as f:
        nachricht = email.message_from_binary_file(f, policy=email.policy.default)
    absender = nachricht["from"].addresses[0]
    return {
        "subject": str(nachricht["subject"] or ""),
        "name": absender.display_name,
        "adresse": absender.addr_spec,
        "to": str(nachricht["to"]),
        "zeit": nachricht["date"].datetime.timestamp(),
        "body": nachricht.get_content().replace("\r\n", "\n"),
    }


if __name__ == "__main__":
    if sys.argv[1] == "server":
        server(*sys.argv[2:])
    else:
        ausgabe = [lesen(datei) for datei in sys.argv[2:]]
        sys.stdout.buffer.write(json.dumps(ausgabe, ensure_ascii=False).encode("utf-8"))
