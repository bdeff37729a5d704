#!/usr/bin/env python3
"""A loopback stand-in for the whole web: as the browser's proxy it answers every http address
with a small page titled after it and refuses every https tunnel; as a plain server on 127.0.0.1
it does the same. Each request line is written to a log with the agent that sent it, after a
tab. Prints its port, then serves until killed."""
import http.server
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    def log_request_line(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(f"{self.requestline}\t{self.headers.get('User-Agent', '')}\n")

    def do_GET(self):
        self.log_request_line()
        body = f"<html><head><title>Page {self.path}</title></head><body>page</body></html>".encode()
        try:
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the browser went away: a killed program or a cancelled load

    def do_CONNECT(self):
        self.log_request_line()
        try:
            self.send_error(502)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
