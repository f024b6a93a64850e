#!/usr/bin/env bash
# Text-command benchmark: sorting, repeated-line and empty-line deletion of haruvi-tool
# beside GNU sort (ja_JP.UTF-8 and C), uniq and grep -v in one peers.sh table, then the
# peak memory of each of ours against the size of the text.
#
# Usage: bench/textcmd/run.sh [CORPUS_DIR] [BUILD_DIR]
#   CORPUS_DIR  made by gen_corpus.py (default /tmp/corpus)
#   BUILD_DIR   a Release build with haruvi-tool (default build/bench)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
CORPUS=${1:-/tmp/corpus}
BUILD=${2:-$ROOT/build/bench}
PEERS=${PEERS:-$ROOT/../shared/bench/peers.sh}
export HARUVI_TOOL=$BUILD/src/tools/haruvi-tool
[ -x "$HARUVI_TOOL" ] || { echo "no $HARUVI_TOOL: build haruvi-tool in Release first" >&2; exit 2; }
[ -f "$CORPUS/MANIFEST" ] || { echo "no $CORPUS/MANIFEST: run gen_corpus.py first" >&2; exit 2; }

# GNU sort's Japanese row needs the locale; peers.sh leaves the row out without it.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$' && [ "$(id -u)" -eq 0 ]; then
  sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen && locale-gen >/dev/null
fi

bash "$PEERS" "$CORPUS" -j '^(sort|uniq|delempty)$' -x "$HERE/peers_extra.sh" -r "${RUNS:-3}" \
  -o "${RESULTS:-/tmp/textcmd.peers}"

echo
echo "peak memory (max RSS) against the text size:"
text_bytes=$(stat -c %s "$CORPUS/text.sjis")
for cmd in sort-asc del-repeated del-empty; do
  kb=$( { /usr/bin/time -f %M "$HARUVI_TOOL" text "$cmd" "$CORPUS/text.sjis" >/dev/null; } 2>&1 | tail -1)
  awk -v c="$cmd" -v kb="$kb" -v t="$text_bytes" \
    'BEGIN { printf "  %-14s %8.1f MB  %.2f x text\n", c, kb * 1024 / 1e6, kb * 1024 / t }'
done
