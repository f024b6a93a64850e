#!/usr/bin/env bash
# Times haruvi-tool detect/conv beside nkf, iconv, uchardet, base64 and uuencode on the
# shared corpora, then sums up our MB/s against the best peer of each job.
#
# usage: bench/encoding/run_peers.sh [CORPUS] [BUILD_DIR] [more peers.sh options]
#   CORPUS     default /tmp/corpus (python3 ../shared/bench/gen_corpus.py /tmp/corpus --scale 1)
#   BUILD_DIR  a Release build holding src/tools/haruvi-tool (default build/bench)
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
C=${1:-/tmp/corpus}
B=${2:-$HERE/../../build/bench}
shift $(( $# < 2 ? $# : 2 ))
export H=${H:-$(cd "$B" && pwd)/src/tools/haruvi-tool}  # or H=/path/to/haruvi-tool
[ -x "$H" ] || { echo "no haruvi-tool in $B (build it with -DCMAKE_BUILD_TYPE=Release)" >&2; exit 2; }
RES=${RES:-/tmp/peers.encoding}
bash "$HERE/../../../shared/bench/peers.sh" "$C" -j '^(detect|conv|b64|uu|binhex)' -x "$HERE/peer_jobs.sh" \
  -o "$RES" "$@"

echo
echo "# haruvi-tool against the best peer of each job (MB/s, from the table above)"
awk '
  NR == 1 { next }
  $1 != job { flush(); job = $1; best = 0; bestname = ""; ours = "" }
  {
    # Columns: job, tool (may hold blanks), input, MB, median_s, MB/s, x_best, spread, runs, check.
    mbs = ""; for (k = 2; k <= NF; k++) if ($k ~ /^[0-9.]+$/ && $(k+1) ~ /^[0-9.]+$/ && $(k+2) ~ /^[0-9.]+$/) { mbs = $(k+2); tool = ""; for (t = 2; t < k - 1; t++) tool = tool (t > 2 ? " " : "") $t; break }
    if (mbs == "") next
    if (tool ~ /^haruvi-tool/) ours = mbs
    else if (mbs + 0 > best) { best = mbs + 0; bestname = tool }
  }
  function flush() { if (job != "" && ours != "" && best > 0) printf "%-16s ours %9.1f  best peer %9.1f (%s)  ratio %.2f\n", job, ours, best, bestname, ours / best }
  END { flush() }' "$RES/table.txt"
