#!/usr/bin/env python3
"""A loopback stand-in for the whole web: as the browser's proxy it answers every http address
with a small page titled after it and refuses every https tunnel; as a plain server on 127.0.0.1
it does the same. Each request line is written to a log with the agent that sent it, after a
tab. Prints its port, then serves until killed."""
import http.server
import sys


# A results page with moving previews: a canvas redrawn every frame and a 16 ms timer.
ANIMATED = """<html><head><title>Moving</title></head><body><canvas id=c width=640 height=360></canvas>
<p id=t></p><script>
const c = document.getElementById("c").getContext("2d"); let n = 0;
function frame() { n++; c.fillStyle = `hsl(${n % 360},60%,50%)`; c.fillRect(0, 0, 640, 360);
  c.fillStyle = "#fff"; c.fillRect((n * 4) % 600, 150, 40, 40); requestAnimationFrame(frame); }
requestAnimationFrame(frame);
setInterval(() => { document.getElementById("t").textContent = Date.now(); }, 16);
</script></body></html>"""


# A page of a results page's weight: tens of megabytes of script data and a grid of thumbnails.
WEIGHTY = """<html><head><title>Page {path}</title></head><body>page {path}<div id=g></div><script>
const keep = [];
for (let i = 0; i < 48; i++) { const a = new Float64Array(131072); a.fill(i + 1); keep.push(a); }
for (let i = 0; i < 48; i++) {
  const c = document.createElement("canvas"); c.width = 320; c.height = 180;
  const g = c.getContext("2d"); g.fillStyle = `hsl(${i * 7},60%,50%)`; g.fillRect(0, 0, 320, 180);
  document.getElementById("g").appendChild(c);
}
</script></body></html>"""


# A still results page carrying three animated ad frames from ad hosts that filter lists name.
AD_RESULTS = """<html><head><title>Results</title></head><body><h1>Results</h1>
<p>Ten videos, each with a title and a still thumbnail.</p>
<iframe src="http://ad.doubleclick.net/ad/animate" width=300 height=250></iframe>
<iframe src="http://securepubads.g.doubleclick.net/gampad/animate" width=728 height=90></iframe>
<iframe src="http://tpc.googlesyndication.com/safeframe/animate" width=160 height=600></iframe>
</body></html>"""


class Handler(http.server.BaseHTTPRequestHandler):
    def log_request_line(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(f"{self.requestline}\t{self.headers.get('User-Agent', '')}\n")

    def do_GET(self):
        self.log_request_line()
        body = (ANIMATED if "animate" in self.path else
                AD_RESULTS if "adresults" in self.path else
                WEIGHTY.replace("{path}", self.path) if "weighty" in self.path else
                f"<html><head><title>Page {self.path}</title></head><body>page {self.path}</body></html>")
        body = body.encode()
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
