#!/usr/bin/env bash
# Kills a process with SIGKILL at random moments while it saves, KILLS times per file (default
# 200): each time the file must be the whole old or the whole new content, never empty or torn.
# Usage: kill_campaign.sh SAVE_LOOP [KILLS]
set -euo pipefail
save_loop=$1
kills=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in settings favorites; do
    file="$work/$kind"
    whole=0
    for attempt in $(seq "$kills"); do
        coproc LOOP { exec "$save_loop" "$kind" "$file"; }
        read -r ready <&"${LOOP[0]}"
        [ "$ready" = ready ] || { echo "FAIL: $kind save loop did not start"; exit 1; }
        sleep "0.0$(( RANDOM % 50 + 1 ))"
        kill -KILL "$LOOP_PID"
        wait "$LOOP_PID" 2>/dev/null || true
        if cmp -s "$file" "$file.a" || cmp -s "$file" "$file.b"; then
            whole=$((whole + 1))
        else
            echo "FAIL: $kind torn after kill $attempt ($(stat -c %s "$file") bytes)"
            exit 1
        fi
    done
    leftovers=$(find "$work" -name "$kind.*" ! -name "$kind.a" ! -name "$kind.b" | wc -l)
    echo "$kind: $whole of $kills kills left the whole old or new file; $leftovers temporary files left"
done
echo "1 passed, 0 failed"
