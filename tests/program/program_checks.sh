#!/usr/bin/env bash
# The real program as a user meets it: on the command line, started under a window manager with
# the web answered by a loopback stand-in, closed both ways, and installed.
# Usage: program_checks.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# --help and --version answer without a display or a window.
(unset DISPLAY QT_QPA_PLATFORM; "$build/reelhop" --version) | grep -qx 'Reelhop 1.2.0' || fail "--version"
(unset DISPLAY QT_QPA_PLATFORM; "$build/reelhop" --help) | grep -q -- '--version' || fail "--help"

# Installing: the files where a desktop looks for them, each valid.
cmake --install "$build" --prefix "$work/prefix" > /dev/null
for file in bin/reelhop lib/reelhop/reelhop_webengine.so share/applications/reelhop.desktop \
    share/icons/hicolor/scalable/apps/reelhop.svg share/metainfo/io.github.reelhop.Reelhop.metainfo.xml; do
    [ -f "$work/prefix/$file" ] || fail "not installed: $file"
done
desktop-file-validate "$work/prefix/share/applications/reelhop.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/prefix/share/metainfo/"*.xml > /dev/null || fail "metainfo"

# A program folder of its own: every start-up box chosen, Yahoo and MetaCafe to search.
mkdir "$work/program"
cp "$build/reelhop" "$build/reelhop_webengine.so" "$work/program/"
for state in 1 1 1 1 1 1 1 1 1 0 0 1 0 0 1 0 0 0; do printf ' %s \r\n' $state; done > "$work/program/svng.msf"
python3 "$here/fake_web.py" "$work/requests.log" > "$work/port" &
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
export QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=http://127.0.0.1:$(cat "$work/port")"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM

cat > "$work/session.sh" <<SESSION
set -u
openbox 2> /dev/null & sleep 1
window() { xdotool search --onlyvisible --name '^Reelhop\$' 2>/dev/null; }
start() { "$work/program/reelhop" >> "$work/program.log" 2>&1 & pid=\$!; for _ in \$(seq 100); do [ -n "\$(window)" ] && break; sleep 0.1; done; }

start; first=\$(window)
for _ in \$(seq 300); do [ "\$(cat "$work/requests.log" 2>/dev/null | grep -c '^GET http://')" -ge 9 ] && break; sleep 0.1; done
sleep 2
[ "\$(window)" = "\$first" ] && [ \$(window | wc -l) -eq 1 ] || { echo "FAIL: main window re-created: \$first / \$(window)"; exit 1; }
xprop -id "\$first" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || { echo "FAIL: not maximized"; exit 1; }
requests() { grep -c "\$1" "$work/requests.log"; }
# The home page shows on HOME: added to the favorites, its own title and address are kept.
xdotool mousemove --window "\$first" 820 32 click 1; sleep 0.5
# A search through the search box reaches exactly the two chosen sites, with the whole text.
xdotool mousemove --window "\$first" 655 33 click 1; xdotool type 'rock & roll #1 AC/DC'; xdotool key Return
for _ in \$(seq 100); do [ "\$(requests 'search/video?p=\\|/tags/')" -ge 2 ] && break; sleep 0.1; done
sleep 1
# Add to Favorites on the Yahoo tab keeps that page's real title and address.
xdotool mousemove --window "\$first" 250 67 click 1; sleep 0.5
xdotool mousemove --window "\$first" 820 32 click 1; sleep 0.5
# Refresh reaches the engine: the page is asked for again.
before=\$(requests 'search/video?p=')
xdotool mousemove --window "\$first" 250 67 click 1; xdotool key F5
for _ in \$(seq 100); do [ "\$(requests 'search/video?p=')" -gt "\$before" ] && break; sleep 0.1; done
[ "\$(requests 'search/video?p=')" -gt "\$before" ] || { echo "FAIL: Refresh did not reload"; exit 1; }
# Back returns to the start page: added to the favorites again, it is there.
sleep 0.5; xdotool key alt+Left; sleep 1.5
xdotool mousemove --window "\$first" 820 32 click 1; sleep 0.5
# File > Close ends the program at once, with exit code 0.
xdotool mousemove --window "\$first" 18 10 click 1; sleep 0.5; xdotool key c
timeout 10 tail --pid=\$pid -f /dev/null || { echo "FAIL: File > Close did not end it"; exit 1; }
wait \$pid || { echo "FAIL: File > Close exit code \$?"; exit 1; }

# The installed program finds its web engine: with no settings yet it loads YouTube's start page.
youtube=\$(requests 'GET http://www.youtube.com/ ')
"$work/prefix/bin/reelhop" >> "$work/program.log" 2>&1 & installed=\$!
for _ in \$(seq 100); do [ "\$(requests 'GET http://www.youtube.com/ ')" -gt "\$youtube" ] && break; sleep 0.1; done
kill \$installed; wait \$installed 2>/dev/null
[ "\$(requests 'GET http://www.youtube.com/ ')" -gt "\$youtube" ] || { echo "FAIL: the installed program loaded no page"; exit 1; }

# The close box ends it while the options window is open.
start; main=\$(window)
xdotool mousemove --window "\$main" 58 10 click 1; sleep 0.5; xdotool key o
for _ in \$(seq 50); do xdotool search --onlyvisible --name '^OPTIONS\$' > /dev/null && break; sleep 0.1; done
xdotool search --onlyvisible --name '^OPTIONS\$' > /dev/null || { echo "FAIL: no options window"; exit 1; }
wmctrl -i -c "\$main"
timeout 10 tail --pid=\$pid -f /dev/null || { echo "FAIL: the close box did not end it"; exit 1; }

# Pages composited through OpenGL, as on a machine with a GPU: the window is still made once.
pages=\$(requests '^GET http://')
QT_QUICK_BACKEND=rhi start; first=\$(window)
for _ in \$(seq 300); do [ "\$(requests '^GET http://')" -ge \$((pages + 9)) ] && break; sleep 0.1; done
sleep 2
[ "\$(window)" = "\$first" ] && [ \$(window | wc -l) -eq 1 ] || { echo "FAIL: OpenGL: main window re-created: \$first / \$(window)"; exit 1; }
xprop -id "\$first" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || { echo "FAIL: OpenGL: not maximized"; exit 1; }
kill \$pid
exit 0
SESSION
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/session.sh" || fail "session"

start_pages=$(grep -cE '^GET http://(www\.youtube\.com/|video\.google\.com/|video\.search\.yahoo\.com/|video\.aol\.com/|vids\.myspace\.com/index\.cfm\?fuseaction=vids\.videos|www\.metacafe\.com/|www\.dailymotion\.com/|www\.break\.com/|www\.revver\.com/) ' "$work/requests.log")
[ "$start_pages" -ge 9 ] || fail "start pages requested: $start_pages"
python3 - "$work/requests.log" "$work/program/file.dtt" <<'CHECK' || fail "search or favorite"
import sys, urllib.parse
lines = open(sys.argv[1]).read().splitlines()
searches = [l.split()[1] for l in lines if "search/video?p=" in l or "metacafe.com/tags/" in l]
texts = sorted(urllib.parse.unquote(s.split("p=")[1] if "p=" in s else s.rsplit("/", 1)[1]) for s in set(searches))
assert texts == ["rock & roll #1 AC/DC"] * 2, texts
favorite = open(sys.argv[2], "rb").read().split(b"\r\n")
assert favorite[0:2] == [b"Reelhop", b"qrc:/home/index.html"], favorite
assert favorite[2].startswith(b"Page http://video.search.yahoo.com/search/video?p=rock"), favorite
assert favorite[3].startswith(b"http://video.search.yahoo.com/search/video?p=rock"), favorite
assert favorite[5] == b"http://video.search.yahoo.com/", favorite
CHECK
echo "1 passed, 0 failed"
