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

# --why-blocked answers from the lists it is given, in one line, without a display.
printf '||ads.test^$script\n@@||ads.test/ok^\n||other.test^$other\n||pop.test^$popup\n%s\n%s\n' \
    '||ads.test/r.js$script,redirect=noop.js' '$removeparam=utm_source' > "$work/mine.txt"
why() { (unset DISPLAY QT_QPA_PLATFORM; "$build/reelhop" --why-blocked "$@" --list "$work/mine.txt"); }
[ "$(why https://ads.test/a.js --type script)" = 'blocked by ||ads.test^$script (mine.txt)' ] || fail "--why-blocked: blocked"
[ "$(why https://ads.test/ok/a.js --type script --page https://v.example/)" = 'allowed by @@||ads.test/ok^ (mine.txt)' ] || fail "--why-blocked: allowed"
[ "$(why https://ads.test/a.png --type image)" = 'no rule' ] || fail "--why-blocked: no rule"
# Without a type the request is of type other; an address as typed, without a scheme, is a web one.
[ "$(why other.test/x)" = 'blocked by ||other.test^$other (mine.txt)' ] || fail "--why-blocked: defaults"
why https://ads.test/ --type nonsense > /dev/null 2>&1 && fail "--why-blocked: a bad type is no answer"
# A window a page opens, a stand-in named for a blocked request, parameters taken off.
[ "$(why https://pop.test/ --type popup --page https://v.example/)" = 'blocked by ||pop.test^$popup (mine.txt)' ] || fail "--why-blocked: popup"
[ "$(why https://ads.test/r.js --type script)" = 'blocked by ||ads.test^$script (mine.txt), answered with noop.js' ] || fail "--why-blocked: stand-in"
[ "$(why 'https://v.example/p?utm_source=x&a=1' --type document)" = 'parameters taken off by $removeparam=utm_source (mine.txt), sent as https://v.example/p?a=1' ] || fail "--why-blocked: parameters"
# A list that cannot be read is said, and is no answer.
missing=$( (unset DISPLAY QT_QPA_PLATFORM; "$build/reelhop" --why-blocked https://ads.test/ --list "$work/none.txt") 2>&1) && fail "--why-blocked: no list read is no answer"
[[ "$missing" == *"none.txt skipped"* ]] || fail "--why-blocked: the list not read is named ($missing)"

# Installing: the files where a desktop looks for them, each valid.
cmake --install "$build" --prefix "$work/prefix" > /dev/null
for file in bin/reelhop lib/reelhop/reelhop_webengine.so share/applications/reelhop.desktop \
    share/icons/hicolor/scalable/apps/reelhop.svg share/metainfo/io.github.reelhop.Reelhop.metainfo.xml; do
    [ -f "$work/prefix/$file" ] || fail "not installed: $file"
done
desktop-file-validate "$work/prefix/share/applications/reelhop.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/prefix/share/metainfo/"*.xml > /dev/null || fail "metainfo"

# A program folder of its own: every start-up box chosen, the third tab and MetaCafe to search.
# The third tab holds a site of the sites file, served on 127.0.0.1, under an agent of its own.
mkdir "$work/program"
cp "$build/reelhop" "$build/reelhop_webengine.so" "$work/program/"
for state in 1 1 1 1 1 1 1 1 1 0 0 1 0 0 1 0 0 0; do printf ' %s \r\n' $state; done > "$work/program/svng.msf"
python3 "$here/fake_web.py" "$work/requests.log" > "$work/port" &
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
local="http://127.0.0.1:$(cat "$work/port")"
printf '[site3]\nname=Local Video\nstart=%s/start\nsearch=%s/find?q=%%s\n[engine]\nagent=ReelhopCheck/1.0\n' \
    "$local" "$local" > "$work/program/sites.ini"
touch "$work/requests.log"
export QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=$local"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM

# A session of two pages: the third tab's in sight, the second tab's out of it.
python3 - "$work/session.json" <<'JSON'
import json, sys
views = [{"address": "", "history": "", "ended": 0, "on": True} for _ in range(10)]
views[1]["address"], views[2]["address"] = "http://hidden.example/", "http://shown.example/"
json.dump({"tab": 2, "search": "", "views": views, "readings": []}, open(sys.argv[1], "w"))
JSON

cat > "$work/session.sh" <<SESSION
set -u
# Waits for a condition, generously: a busy machine is slow, never wrong.
try_for() { for _ in \$(seq "\$1"); do eval "\$2" && return 0; sleep 0.1; done; return 1; }
wait_for() { try_for 600 "\$1" || { echo "FAIL: \$2"; exit 1; }; }
# Opens a menu of the main window and picks an item by its key; a key that reaches the window
# before the menu has the keyboard is lost, so the whole pick is tried again.
pick() { # WINDOW X KEY CONDITION
    local menu_of=\$1
    for _ in \$(seq 10); do
        xdotool mousemove --window "\$menu_of" "\$2" 10 click 1
        try_for 50 'xdotool search --onlyvisible --class reelhop 2>/dev/null | grep -vqx "\$menu_of"' || continue
        xdotool key "\$3"
        try_for 100 "\$4" && return 0
        xdotool key Escape
    done
    return 1
}
openbox 2> /dev/null &
wait_for 'wmctrl -m > /dev/null 2>&1' "no window manager"
window() { xdotool search --onlyvisible --name '^Reelhop\$' 2>/dev/null; }
# The window manager takes a new window in (unmapping it for a moment) and then maximizes it: the
# window counts once it is maximized, and its id is then in \$shown.
maximized() { shown=\$(window); [ -n "\$shown" ] && xprop -id "\$shown" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; }
start() { "$work/program/reelhop" >> "$work/program.log" 2>&1 & pid=\$!; wait_for maximized "no maximized window"; }
requests() { grep -c "\$1" "$work/requests.log"; }
favorites() { [ -f "$work/program/file.dtt" ] && tr -d '\r' < "$work/program/file.dtt" | wc -l || echo 0; }
# A click that reaches a window still settling in is lost: after a long wait it is given again.
add_favorite() {
    local before=\$(favorites)
    for _ in 1 2 3; do
        xdotool mousemove --window "\$first" 820 32 click 1
        try_for 200 '[ "\$(favorites)" -gt "\$before" ]' && return 0
    done
    echo "FAIL: no favorite added"; exit 1
}

start; first=\$shown
# A second start hands over to the running copy and ends; the one window stays.
timeout 20 "$work/program/reelhop" >> "$work/program.log" 2>&1 || { echo "FAIL: a second start did not hand over to the first"; exit 1; }
kill -0 \$pid || { echo "FAIL: the first copy ended"; exit 1; }
# Three https start pages ask the proxy for a tunnel, the third tab's page is asked for itself;
# the closed sites send nothing.
wait_for '[ "\$(requests "^CONNECT \\|^GET /start ")" -ge 4 ]' "start pages"
# One window, made once: the same as when it first showed, and still maximized.
try_for 50 '[ "\$(window)" = "\$first" ]' || { echo "FAIL: main window re-created: \$first / \$(window)"; exit 1; }
xprop -id "\$first" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || { echo "FAIL: not maximized"; exit 1; }
# The home page shows on HOME: added to the favorites once its title has come, its own title and
# address are kept (before, its address stands for its title).
wait_for 'xdotool getwindowname "\$first" > /dev/null' "window gone"
wait_for 'add_favorite; grep -q "^Reelhop.\$" "$work/program/file.dtt"' "the home page's favorite"
# A search through the search box reaches exactly the chosen site that is open, whole.
xdotool mousemove --window "\$first" 655 33 click 1; xdotool type 'rock & roll #1 AC/DC'; xdotool key Return
wait_for '[ "\$(requests "^GET /find?q=")" -ge 1 ]' "no search request"
# Add to Favorites on the third tab keeps that page's real title and address.
xdotool mousemove --window "\$first" 250 67 click 1
wait_for 'add_favorite; tail -n 2 "$work/program/file.dtt" | grep -q "^Page /find"' "the search page's favorite"
# Refresh reaches the engine: the page is asked for again.
before=\$(requests '^GET /find?q=')
xdotool mousemove --window "\$first" 250 67 click 1; xdotool key F5
wait_for '[ "\$(requests "^GET /find?q=")" -gt "\$before" ]' "Refresh did not reload"
# Back returns to the start page: added to the favorites again, it is there.
# (Back again from the first page does nothing, so the key may be pressed again if it was lost.)
wait_for 'xdotool key alt+Left; add_favorite; tail -n 1 "$work/program/file.dtt" | grep -q "/start"' "Back did not return"
# File > Close ends the program at once, with exit code 0.
pick "\$first" 18 c '! kill -0 \$pid 2> /dev/null' || { echo "FAIL: File > Close did not end it"; exit 1; }
wait \$pid || { echo "FAIL: File > Close exit code \$?"; exit 1; }

# The installed program finds its web engine: with no settings yet it asks for YouTube's start page.
youtube=\$(requests '^CONNECT www.youtube.com:443 ')
"$work/prefix/bin/reelhop" >> "$work/program.log" 2>&1 & installed=\$!
wait_for '[ "\$(requests "^CONNECT www.youtube.com:443 ")" -gt "\$youtube" ]' "the installed program loaded no page"
kill \$installed; wait \$installed 2>/dev/null

# The close box ends it while the options window is open.
start; main=\$shown
pick "\$main" 58 o 'xdotool search --onlyvisible --name "^OPTIONS\$" > /dev/null' || { echo "FAIL: no options window"; exit 1; }
wmctrl -i -c "\$main"
timeout 30 tail --pid=\$pid -f /dev/null || { echo "FAIL: the close box did not end it"; exit 1; }

# The last session, when chosen: only the tab in sight asks for its page at the start; another
# tab asks for its page when it is first shown.
printf '[start]\nshow=last session\n' > "$work/program/reelhop.ini"
cp "$work/session.json" "$work/program/session.json"
start; first=\$shown
wait_for 'add_favorite; tail -n 1 "$work/program/file.dtt" | grep -q "shown.example"' "the tab in sight"
[ "\$(requests '^GET http://hidden.example/ ')" -eq 0 ] || { echo "FAIL: a tab out of sight loaded"; exit 1; }
xdotool key alt+2
wait_for '[ "\$(requests "^GET http://hidden.example/ ")" -ge 1 ]' "the tab shown later"
kill \$pid; wait \$pid 2>/dev/null
rm "$work/program/reelhop.ini"

# Pages composited through OpenGL, as on a machine with a GPU: the window is still made once.
pages=\$(requests '^CONNECT \|^GET /start ')
QT_QUICK_BACKEND=rhi start; first=\$shown
wait_for '[ "\$(requests "^CONNECT \\|^GET /start ")" -ge \$((pages + 4)) ]' "OpenGL: start pages"
try_for 50 '[ "\$(window)" = "\$first" ]' || { echo "FAIL: OpenGL: main window re-created: \$first / \$(window)"; exit 1; }
xprop -id "\$first" _NET_WM_STATE | grep -q MAXIMIZED_HORZ || { echo "FAIL: OpenGL: not maximized"; exit 1; }
kill \$pid
exit 0
SESSION
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" bash "$work/session.sh" || { cat "$work/requests.log"; tail -n 40 "$work/program.log"; fail "session"; }

python3 - "$work/requests.log" "$work/program/file.dtt" "$local" <<'CHECK' || fail "search, agent or favorites"
import sys, urllib.parse
lines = [l.split("\t") for l in open(sys.argv[1]).read().splitlines()]
# Nothing for the closed sites, and nothing but tunnels to the three open sites' own hosts.
hosts = {l[0].split()[1] for l in lines if l[0].startswith("CONNECT ")}
assert hosts <= {"www.youtube.com:443", "www.google.com:443", "www.dailymotion.com:443"}, hosts
searches = {l[0].split()[1] for l in lines if l[0].startswith("GET /find?q=")}
assert [urllib.parse.unquote(s.split("q=", 1)[1]) for s in searches] == ["rock & roll #1 AC/DC"], searches
agents = {l[1] for l in lines if l[0].startswith("GET /")}
assert agents == {"ReelhopCheck/1.0"}, agents
values = open(sys.argv[2], "rb").read().decode().split("\r\n")[:-1]
favorites = list(zip(values[0::2], values[1::2]))
assert ("Reelhop", "reelhop:home") in favorites, favorites
found = sys.argv[3] + "/find?q=rock"
assert any(t.startswith("Page /find?q=rock") and a.startswith(found) for t, a in favorites), favorites
assert [a for _, a in favorites[-2:]] == [sys.argv[3] + "/start", "http://shown.example/"], favorites
CHECK
# The terminal stays quiet: none of the engine's set-up lines, no page's console.
! grep -E '^qt\.webenginecontext|^js: ' "$work/program.log" || fail "the program's terminal is not quiet"

# Nor the engine's own log lines, such as its dump of a site's bad certificate; --verbose shows
# them. The site's server sees the refused handshake after the engine has judged the certificate.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
    -subj /CN=bad.test 2> /dev/null
python3 - "$work" > "$work/tls-port" 2> "$work/tls.log" <<'TLS' &
import socket, ssl, sys
tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
tls.load_cert_chain(sys.argv[1] + "/cert.pem", sys.argv[1] + "/key.pem")
server = socket.create_server(("127.0.0.1", 0))
print(server.getsockname()[1], flush=True)
while True:
    connection, _ = server.accept()
    try:
        tls.wrap_socket(connection, server_side=True).close()
    except (ssl.SSLError, OSError):
        print("refused", file=sys.stderr, flush=True)
TLS
for _ in $(seq 100); do [ -s "$work/tls-port" ] && break; sleep 0.1; done
mkdir "$work/tls"
cp "$build/reelhop" "$build/reelhop_webengine.so" "$work/tls/"
printf '[site1]\nname=Bad\nstart=https://127.0.0.1:%s/\nsearch=https://127.0.0.1:%s/?q=%%s\n' \
    "$(cat "$work/tls-port")" "$(cat "$work/tls-port")" > "$work/tls/sites.ini"
engine_line='^\[[0-9]+:[0-9]+:[0-9/.]+:(ERROR|WARNING|INFO)'
for mode in --verbose quiet; do
    refused=$(grep -c refused "$work/tls.log" || true)
    (unset QTWEBENGINE_CHROMIUM_FLAGS; QT_QPA_PLATFORM=offscreen "$work/tls/reelhop" \
        ${mode/quiet/} > "$work/tls-$mode.log" 2>&1) & tls_pid=$!
    for _ in $(seq 600); do [ "$(grep -c refused "$work/tls.log" || true)" -gt "$refused" ] && break; sleep 0.1; done
    [ "$mode" = quiet ] || for _ in $(seq 600); do grep -qE "$engine_line" "$work/tls-$mode.log" && break; sleep 0.1; done
    pkill -P $tls_pid reelhop || kill $tls_pid; wait $tls_pid 2> /dev/null || true
done
grep -qE "$engine_line" "$work/tls---verbose.log" || fail "--verbose shows no line of the engine's"
! grep -E "$engine_line" "$work/tls-quiet.log" || fail "the engine's log lines reach the terminal"
echo "1 passed, 0 failed"
