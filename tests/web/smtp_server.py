#!/usr/bin/env python3
"""A real mail server on 127.0.0.1 for the mail client tests.

Listens on a free port and prints it as the first line of standard output. Offers STARTTLS
(or speaks TLS from the first byte with --implicit-tls) and AUTH for one user, or neither with
--plain, and writes every message it accepts to the mail folder: NNN.eml holds the message as
received, NNN.env the envelope (sender on the first line, then one recipient per line). Runs
until terminated.
"""
import argparse
import asyncio
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class FolderHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        stem = os.path.join(self.folder, "%03d" % self.count)
        # Write beside, then rename: a reader never sees half a message.
        for ext, data in ((".env", "\n".join([envelope.mail_from] + envelope.rcpt_tos).encode()),
                          (".eml", envelope.original_content)):
            with open(stem + ext + ".tmp", "wb") as out:
                out.write(data)
            os.replace(stem + ext + ".tmp", stem + ext)
        return "250 Message accepted for delivery"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--maildir", required=True)
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--plain", action="store_true", help="no TLS and no AUTH")
    args = parser.parse_args()
    warnings.simplefilter("ignore")  # deprecation notes of the library would clutter test logs

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(args.cert, args.key)
    handler = FolderHandler(args.maildir)

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == args.user.encode()
              and auth_data.password == args.password.encode())
        # handled=False: the server itself answers 535 on failure.
        return AuthResult(success=ok, handled=False)

    def factory():
        if args.plain:
            return SMTP(handler, hostname="mail.test")
        if args.implicit_tls:
            return SMTP(handler, hostname="mail.test", authenticator=authenticate,
                        auth_require_tls=False)
        return SMTP(handler, hostname="mail.test", tls_context=context, require_starttls=True,
                    authenticator=authenticate, auth_require_tls=True)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(
        loop.create_server(factory, "127.0.0.1", 0,
                           ssl=context if args.implicit_tls else None))
    print(server.sockets[0].getsockname()[1], flush=True)
    try:
        loop.run_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
