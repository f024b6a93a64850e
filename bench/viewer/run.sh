#!/usr/bin/env bash
# Display speed: selection to first paint for 1, 20 and 100 MB of Shift_JIS text and a
# binary file (three runs each, one process per run), beside the floor of reading the
# file once (cat FILE > /dev/null).
# Usage: bench/viewer/run.sh [CORPUS_DIR] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus}
build=${2:-$root/build/bench}
[ -f "$corpus/text.sjis" ] || python3 "$root/../shared/bench/gen_corpus.py" "$corpus" --scale 1 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for mb in 1 20 100; do head -c $((mb * 1000000)) "$corpus/text.sjis" > "$work/sjis-$mb.txt"; done
head -c 20000000 "$corpus/random.bin" > "$work/binary-20.bin"
cp "$corpus/random.bin" "$work/binary-100.bin"
printf 'file\tsize\tselection->paint\tinfo\tpeak RSS\tadded RSS\n'
for f in "$work"/sjis-1.txt "$work"/sjis-20.txt "$work"/sjis-100.txt "$work"/binary-20.bin "$work"/binary-100.bin; do
  cat "$f" > /dev/null  # page cache warm for both
  for run in 1 2 3; do "$build/bench/viewer/display_bench" "$f"; done
  start=$(date +%s.%N); cat "$f" > /dev/null; end=$(date +%s.%N)
  printf '  floor: cat %s > /dev/null  %.4f s\n' "$(basename "$f")" "$(echo "$end - $start" | bc -l)"
done
