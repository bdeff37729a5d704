#!/usr/bin/env python3
"""A loopback stand-in for the whole web: as the browser's proxy it answers every address with a
small page titled after it, and writes each request line to a log. Prints its port, then serves
until killed."""
import http.server
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(self.requestline + "\n")
        body = f"<html><head><title>Page {self.path}</title></head><body>page</body></html>".encode()
        try:
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the browser went away: a killed program or a cancelled load

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
