#!/usr/bin/python3
# The demo's download site on 127.0.0.1: serves users/tulpa/<code>/<file> from the FTP server's
# folder home/tulpa/public_html/<code>/<file>, as the real site maps its users' web folders.
# Usage: web_server.py FTP_ROOT; prints "PORT n" once it listens.
import http.server
import os
import posixpath
import sys
import urllib.parse

ROOT = os.path.realpath(sys.argv[1])
PREFIX = "/users/tulpa/"


class Handler(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        path = posixpath.normpath(urllib.parse.unquote(urllib.parse.urlsplit(path).path))
        if not path.startswith(PREFIX):
            return os.path.join(ROOT, "nothing-here")
        local = os.path.realpath(os.path.join(ROOT, "home/tulpa/public_html", path[len(PREFIX):]))
        return local if local.startswith(ROOT + os.sep) else os.path.join(ROOT, "nothing-here")

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print("PORT %d" % server.server_address[1], flush=True)
server.serve_forever()
