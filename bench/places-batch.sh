#!/usr/bin/env bash
# Every zip code of every state archive for a year, as CSV to /dev/null, in one run of
# daybreak-cli --places: wall time (seconds), peak memory (KiB) and CPU time (user and system
# seconds) of each run, then their medians.
#
#     bench/places-batch.sh build/dev/bin [RUNS]
#
# The directory holds daybreak-cli and the state archives; RUNS defaults to 5.
set -euo pipefail

bin=${1:?usage: places-batch.sh BIN_DIR [RUNS]}
runs=${2:-5}
cli="$bin/daybreak-cli"
input=$(mktemp)
times=$(mktemp)
trap 'rm -f "$input" "$times"' EXIT

echo "zip,state" >"$input"
for archive in "$bin"/timezone.arc.??; do
    code=${archive##*.}
    "$cli" --list-zips "$code" | sed "s/\$/,$code/" >>"$input"
done
echo "places: $(($(wc -l <"$input") - 1))"

for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M %U %S' -a -o "$times" \
        "$cli" --places "$input" --date 2025-01-01 --days 365 --format csv >/dev/null
    tail -n 1 "$times"
done
sort -n -k1,1 "$times" | awk '{ t[NR] = $1 } END { printf "median wall: %s s\n", t[int((NR + 1) / 2)] }'
sort -n -k2,2 "$times" | awk '{ m[NR] = $2 } END { printf "median peak: %.1f MiB\n", m[int((NR + 1) / 2)] / 1024 }'
awk '{ print $3 + $4 }' "$times" | sort -n |
    awk '{ c[NR] = $1 } END { printf "median CPU: %s s\n", c[int((NR + 1) / 2)] }'
