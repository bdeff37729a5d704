#!/usr/bin/env bash
# Kills a process with SIGKILL at random moments while it saves, KILLS times per file (default
# 200): each time the file must be the whole old or the whole new content, never empty or torn.
# Usage: kill_campaign.sh SAVE_LOOP [KILLS]
set -euo pipefail
save_loop=$1
kills=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in settings favorites session; do
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
    # A kill between linking the written file and renaming it leaves it under a temporary name:
    # a whole copy, never part of one.
    leftovers=0
    while IFS= read -r -d '' left; do
        leftovers=$((leftovers + 1))
        cmp -s "$left" "$file.a" || cmp -s "$left" "$file.b" \
            || { echo "FAIL: $kind left a torn temporary file ($(stat -c %s "$left") bytes)"; exit 1; }
    done < <(find "$work" -name "$kind.*" ! -name "$kind.a" ! -name "$kind.b" -print0)
    echo "$kind: $whole of $kills kills left the whole old or new file; $leftovers whole copies left"
done
echo "1 passed, 0 failed"
