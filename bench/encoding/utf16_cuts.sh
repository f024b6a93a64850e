#!/usr/bin/env bash
# How often random bytes are named UTF-16: the corpus's random.bin cut at 1,000 points
# (offsets spread over the file, odd ones too; every fourth piece 16-79 bytes, the rest up
# to 128 KiB), each piece given to `haruvi-tool detect` and, beside it, to uchardet.
# Prints the count of pieces each calls UTF-16 (target: 0) and the time each took.
#   bench/encoding/utf16_cuts.sh [CORPUS] [HARUVI_TOOL]
set -eu
C=${1:-/tmp/corpus}
H=${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/bench/src/tools/haruvi-tool}
[ -x "$H" ] || { echo "no haruvi-tool at $H" >&2; exit 2; }
f="$C/random.bin"
[ -f "$f" ] || { echo "no $f (python3 ../shared/bench/gen_corpus.py $C)" >&2; exit 2; }
size=$(stat -c %s "$f")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq 0 999); do
  off=$(( (i * 2654435761) % (size - 200000) ))
  if (( i % 4 == 0 )); then len=$(( 16 + i % 64 )); else len=$(( 1 + (i * 40503) % 131072 )); fi
  tail -c +$((off + 1)) "$f" | head -c "$len" > "$work/$i"
done
ours=0 peer=0 peer_tool=none
t0=$(date +%s.%N)
for i in $(seq 0 999); do
  case $("$H" detect "$work/$i") in *UTF-16*) ours=$((ours + 1)) ;; esac
done
t1=$(date +%s.%N)
if command -v uchardet > /dev/null; then
  peer_tool=uchardet
  for i in $(seq 0 999); do
    case $(uchardet "$work/$i") in *UTF-16*) peer=$((peer + 1)) ;; esac
  done
fi
t2=$(date +%s.%N)
printf 'pieces of random.bin named UTF-16 (of 1000)\n'
printf '  haruvi-tool detect  %4d   %.2f s\n' "$ours" "$(echo "$t1 - $t0" | bc -l)"
[ "$peer_tool" = none ] || printf '  %-18s  %4d   %.2f s\n' "$peer_tool" "$peer" "$(echo "$t2 - $t1" | bc -l)"
