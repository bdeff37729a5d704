#!/usr/bin/env python3
"""Three small video sites on 127.0.0.1 for the README's pictures: /tube, /clips and /reels each
answer a search (?q=) with a page of results, thumbnails drawn here. Every other address, as the
browser's proxy, gets a plain 404. Prints its port, then serves until killed."""
import http.server
import html
import struct
import sys
import urllib.parse
import zlib

TITLES = ["{q} at the piano", "Ten minutes of {q}", "{q}: the whole story", "Why {q} matter",
          "{q} in slow motion", "A day with {q}", "The best of {q}, 2026", "{q} explained"]
SITES = {"tube": ("Tube", 0), "clips": ("Clips", 2), "reels": ("Reels", 4)}


def png(width, height, rgb):
    row = b"\x00" + bytes(rgb) * width
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


def results(site, query):
    name, shift = SITES[site]
    cards = []
    for n in range(8):
        title = html.escape(TITLES[(n + shift) % len(TITLES)].format(q=query.capitalize()))
        minutes, seconds = 1 + (7 * n + shift) % 19, (13 * n + 7 * shift) % 60
        cards.append(f"<div class=card><a href='/{site}/v/{n}'><img src='/thumb/{site}-{n}.png' "
                     f"width=240 height=135></a><h3><a href='/{site}/v/{n}'>{title}</a></h3>"
                     f"<span class=duration>{minutes}:{seconds:02}</span> "
                     f"<span class=channel>{name} channel {n % 3 + 1}</span></div>")
    return (f"<title>{name}: {html.escape(query)}</title><style>body{{font:14px sans-serif;"
            f"margin:16px}} .card{{display:inline-block;width:250px;vertical-align:top;margin:8px}}"
            f" h3{{font-size:15px;margin:6px 0}}</style><h1>{name}</h1>" + "".join(cards))


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        address = urllib.parse.urlsplit(self.path)
        parts = address.path.strip("/").split("/")
        query = urllib.parse.parse_qs(address.query).get("q", [""])[0]
        if len(parts) == 1 and parts[0] in SITES:
            self.answer("text/html; charset=utf-8", results(parts[0], query or "videos").encode())
        elif parts[0] == "thumb":
            seed = zlib.crc32(parts[1].encode())
            self.answer("image/png", png(240, 135, (seed & 255, seed >> 8 & 255, seed >> 16 & 255)))
        else:
            self.send_error(404)

    def answer(self, kind, body):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *arguments):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
