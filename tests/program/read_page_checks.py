#!/usr/bin/env python3
"""--read-page as a user mending a rule meets it: the shared real result pages read by shape and
by the built-in rule, a stand-in page by a rule of the user's, and bad requests refused.
The truth of a real page is its own markup: its video blocks' title links, one video per id.
Usage: read_page_checks.py BUILD_FOLDER REAL_PAGES_FOLDER"""
import json, os, re, shutil, subprocess, sys, tempfile

build, real_pages = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp()
program = os.path.join(work, "reelhop")
for name in ("reelhop", "reelhop_webengine.so"):
    shutil.copy(os.path.join(build, name), work)
failures = []


def read(*arguments):
    done = subprocess.run([program, "--read-page", *arguments], capture_output=True, text=True,
                          timeout=300, env={**os.environ, "QT_QPA_PLATFORM": ""})
    rows = [json.loads(line) for line in done.stdout.splitlines()] if done.returncode == 0 else []
    return done.returncode, rows, done.stderr


def video_id(link):
    found = re.search(r"[?&]v=([\w-]{11})", link)
    return found.group(1) if found else link


# page, how it is read, the least share of its videos listed, of the list that are its videos,
# and of the list with a length (the later blocks of the larger page were saved undrawn).
REAL = [("youtube-qft-2026.html", "--shape", 0.9, 0.95, 1.0),
        ("youtube-prokofiev-2025.html", "--shape", 0.9, 0.95, 0.5),
        ("youtube-qft-2026.html", "--site=1", 1.0, 1.0, 1.0),
        ("youtube-prokofiev-2025.html", "--site=1", 1.0, 0.9, 0.5)]  # its shorts are blocks too
for page, how, recall, precision, timed in REAL:
    path = os.path.join(real_pages, page)
    if not os.path.exists(path):
        print(f"SKIP: {path} is not here")
        continue
    markup = open(path, encoding="utf-8", errors="replace").read()
    truth = set(re.findall(r"<a id=[\"']?video-title[^>]*?href=[\"']?[^\"' >]*watch\?v=([\w-]{11})",
                           markup))
    code, rows, said = read(path, "--address", "https://www.youtube.com/results?search_query=x", how)
    listed = [video_id(row["link"]) for row in rows]
    found = truth & set(listed)
    expected_how = "shape" if how == "--shape" else "rule"
    if (code != 0 or len(found) < recall * len(truth) or
            sum(v in truth for v in listed) < precision * len(listed) or
            len(set(listed)) != len(listed) or any(re.search(r"[?&](t|start|time_continue)=", row["link"]) for row in rows) or
            {row["how"] for row in rows} != {expected_how} or
            not all(row["title"] for row in rows) or
            sum(bool(row["length"]) for row in rows) < timed * len(rows)):
        failures.append(f"{page} {how}: exit {code}, {len(found)} of {len(truth)} videos in "
                        f"{len(listed)} rows ({len(set(listed))} different) {said[-300:]}")

# A site of the user's with a rule without an item: each result is the block around its link.
with open(os.path.join(work, "sites.ini"), "w") as sites:
    sites.write("[site4]\nname=Alpha\nsearch=https://alpha.example/s?q=%s\nlink=a.go\ntitle=b\n")
page = os.path.join(work, "page.html")
with open(page, "w") as html:
    html.write("<ul>" + "".join(f"<li><a class=go href='/v?id={n}'>go</a><b>Clip {n}</b>"
                                f"<i>1:0{n}</i><a href='/v?id={n}&t=5'>at 5s</a></li>"
                                for n in range(1, 5)) + "</ul>")
code, rows, said = read(page, "--address", "https://alpha.example/s?q=x", "--site", "4")
got = [(row["title"], row["link"], row["length"], row["how"]) for row in rows]
want = [(f"Clip {n}", f"https://alpha.example/v?id={n}", f"1:0{n}", "rule") for n in range(1, 5)]
if code != 0 or got != want:
    failures.append(f"a user's rule without an item: exit {code}, {got} {said[-300:]}")

# Bad requests: one clear line, exit 2, no engine started.
for arguments, word in [([os.path.join(work, "none.html"), "--address", "https://a.example/"], "Cannot read"),
                        ([page, "--address", "ftp://a.example/"], "http"),
                        ([page, "--address", "https://a.example/", "--site", "0"], "1 to 9"),
                        ([page, "--address", "https://a.example/", "--site", "x"], "1 to 9"),
                        ([page, "--address", "https://a.example/", "--site", "2", "--shape"], "give one")]:
    code, rows, said = read(*arguments)
    if code != 2 or word not in said or len(said.strip().splitlines()) != 1:
        failures.append(f"{arguments[1:]}: exit {code}, said {said!r}")

shutil.rmtree(work)
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
