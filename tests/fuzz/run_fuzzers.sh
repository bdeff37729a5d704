#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for RUNS inputs (default 20000; the filters' a
# quarter of that) from the seed corpus; a longer run: run_fuzzers.sh 2000000. New inputs go to a
# scratch folder, never here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
runs=${1:-20000}
cmake -S "$here" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build-fuzz" -j2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for reader in settings favorites sites filters; do
    mkdir "$scratch/$reader"
    status=0
    # One input of the filters' reader decides some seventy requests against the rules tried one
    # by one, and a 16 KB address: a quarter of the inputs take it as long as the others take.
    reader_runs=$runs
    [ "$reader" = filters ] && reader_runs=$((runs / 4))
    "$root/build-fuzz/fuzz_$reader" -runs="$reader_runs" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$root/build-fuzz/" \
        "$scratch/$reader" "$here/corpus/$reader" > "$scratch/$reader.log" 2>&1 || status=$?
    grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' "$scratch/$reader.log" || true
    [ "$status" -eq 0 ] || { echo "fuzz_$reader found a fault"; exit 1; }
done
