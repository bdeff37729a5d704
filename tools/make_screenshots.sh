#!/usr/bin/env bash
# Makes the README's pictures from the real program under Xvfb, on three stand-in sites served on
# 127.0.0.1: a site's tab after a search, and the Results tab that reads all three.
# Usage: tools/make_screenshots.sh [BUILD_FOLDER]   (writes docs/screenshot-*.png)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
python3 "$here/tools/stand_in_sites.py" > "$work/port" &
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
local="http://127.0.0.1:$(cat "$work/port")"
cp "$build/reelhop" "$build/reelhop_webengine.so" "$work/"
# The three sites on the first tabs, started and searched; the other tabs untouched.
for state in 1 1 1 0 0 0 0 0 0 1 1 1 0 0 0 0 0 0; do printf ' %s \r\n' $state; done > "$work/svng.msf"
for n in 1 2 3; do
    site=$(echo tube clips reels | cut -d' ' -f$n)
    printf '[site%s]\nname=%s\nstart=%s/%s\nsearch=%s/%s?q=%%s\n' "$n" "${site^}" "$local" "$site" "$local" "$site"
done > "$work/sites.ini"
export QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=$local" XDG_DATA_HOME="$work/data" \
    XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM
cat > "$work/session.sh" <<SESSION
set -eu
openbox 2> /dev/null &
for _ in \$(seq 100); do wmctrl -m > /dev/null 2>&1 && break; sleep 0.1; done
"$work/reelhop" > "$work/program.log" 2>&1 &
for _ in \$(seq 300); do window=\$(xdotool search --onlyvisible --name '^Reelhop\$' 2>/dev/null || true); [ -n "\$window" ] && break; sleep 0.1; done
sleep 3
xdotool mousemove --window "\$window" 655 33 click 1; xdotool type 'cats'; xdotool key Return
sleep 6
xdotool key alt+2; sleep 2
import -window root "$here/docs/screenshot-site.png"
xdotool key alt+0; sleep 3
import -window root "$here/docs/screenshot-results.png"
SESSION
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash "$work/session.sh"
echo "wrote $here/docs/screenshot-site.png and screenshot-results.png"
