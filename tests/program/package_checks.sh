#!/usr/bin/env bash
# The Debian package: what it holds and says, lintian's verdict, and the program started from
# the unpacked package loading a page. Usage: package_checks.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/reelhop_*_amd64.deb)
info=$(dpkg-deb --info "$deb")
for field in 'Depends: .*libqt6webenginewidgets6' 'Depends: .*\(libqt6svg6\|qt6-svg-plugins\)' 'Recommends: mpv' 'Description: search several video sites' \
    '^  Reelhop sends one search text'; do
    grep -q "$field" <<< "$info" || fail "control field: $field"
done
contents=$(dpkg-deb --contents "$deb")
for file in usr/bin/reelhop usr/lib/reelhop/reelhop_webengine.so usr/share/applications/reelhop.desktop \
    usr/share/icons/hicolor/scalable/apps/reelhop.svg usr/share/metainfo/io.github.reelhop.Reelhop.metainfo.xml \
    usr/share/doc/reelhop/copyright usr/share/doc/reelhop/changelog.gz; do
    grep -q " \./$file\$" <<< "$contents" || fail "not in the package: $file"
done
lintian "$deb" > "$work/lintian.log" 2>&1 || true
if grep '^E:' "$work/lintian.log"; then fail "lintian errors"; fi

# Unpacked, as installed under /usr but elsewhere: it finds its engine and loads a page.
dpkg-deb -x "$deb" "$work/root"
python3 "$here/fake_web.py" "$work/requests.log" > "$work/port" &
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
printf '[site1]\nstart=http://127.0.0.1:%s/packaged\n' "$(cat "$work/port")" > "$work/root/usr/bin/sites.ini"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset QT_QPA_PLATFORM
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" bash -c "
    '$work/root/usr/bin/reelhop' > '$work/program.log' 2>&1 & program=\$!
    for _ in \$(seq 600); do grep -q '^GET /packaged ' '$work/requests.log' 2>/dev/null && break; sleep 0.1; done
    kill \$program" || true
grep -q '^GET /packaged ' "$work/requests.log" || { cat "$work/program.log"; fail "the unpacked program loaded no page"; }
echo "1 passed, 0 failed"
