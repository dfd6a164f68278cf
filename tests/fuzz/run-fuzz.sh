#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: the state archive's unless DAYBREAK_FUZZ_TARGET names
# another (state_archive, zone_file, world_places, zone_map, world_map, place_names).
#   run-fuzz.sh <builddir> <seconds> [libFuzzer options...]
# e.g. "-len_control=0" to try inputs of any length up to 1 MiB from the start.
# The seed corpus in this folder is only read; new inputs, crash files and the log go to
# <builddir>/fuzz-<target>/ (state archive: fuzz-state-archive/). Exits non-zero when the
# fuzzer finds anything.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <builddir> [seconds]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=${2:-60}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
target=${DAYBREAK_FUZZ_TARGET:-state_archive}
# Each target's seeds and dictionary; the zone map may inflate to 64 MiB by design.
options=(-malloc_limit_mb=64)
case "$target" in
  state_archive) seeds="$here/corpus"; options+=(-dict="$here/archive.dict") ;;
  zone_file) seeds="$here/zone-corpus" ;;
  world_places) seeds="$here/world-corpus" ;;
  world_map) seeds="$here/worldmap-corpus" ;;
  place_names) seeds="$here/names-corpus" ;;
  zone_map) seeds="$here/zonemap-corpus"; options=(-malloc_limit_mb=96) ;;
  *) echo "run-fuzz.sh: no fuzz target $target" >&2; exit 2 ;;
esac
fuzzer="$build/bin/daybreak_fuzz_$target"
work="$build/fuzz-${target//_/-}"

if [ ! -x "$fuzzer" ]; then
  echo "run-fuzz.sh: $fuzzer not built (configure with the fuzz preset)" >&2
  exit 2
fi
mkdir -p "$work/corpus" "$work/artifacts"

status=0
# -malloc_limit_mb: the reader must never allocate far beyond the input's size, so any large
# allocation is a finding. Inputs up to 1 MiB cross the archive's 4 KiB buffer hundreds of
# times and hold tens of thousands of records, enough to take the list's node pool past its
# largest slab size. The dictionary holds the format's length prefixes and marks.
"$fuzzer" -max_total_time="$seconds" -max_len=1048576 "${options[@]}" -rss_limit_mb=2048 \
  -timeout=30 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  "${@:3}" "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1 || status=$?

tail -n 15 "$work/fuzz.log"
if [ "$status" -ne 0 ]; then
  echo "run-fuzz.sh: finding; see $work/fuzz.log and $work/artifacts/" >&2
  exit 1
fi
echo "run-fuzz.sh: ${seconds}s without a finding"
