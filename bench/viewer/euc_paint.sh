#!/usr/bin/env bash
# First paint of the corpus's EUC-JP text beside its Shift_JIS text (both ~100 MB): each
# through display_bench (selection to the pane's first paint, one process per run), the
# two taking turns, five runs each; prints every run and the ratio of the medians
# (target: EUC-JP within 1.2x of Shift_JIS). The EUC-JP text is shown decoded.
#   bench/viewer/euc_paint.sh [CORPUS_DIR] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus}
build=${2:-$root/build/bench}
bench="$build/bench/viewer/display_bench"
[ -x "$bench" ] || { echo "no $bench (configure with -DHARUVI_BENCH=ON, Release)" >&2; exit 2; }
cat "$corpus/text.sjis" "$corpus/text.euc" > /dev/null  # page cache warm for both
sjis=() euc=()
for run in 1 2 3 4 5; do
  line=$("$bench" "$corpus/text.sjis"); echo "$line"; sjis+=("$(echo "$line" | cut -f3 | cut -d' ' -f1)")
  line=$("$bench" "$corpus/text.euc"); echo "$line"; euc+=("$(echo "$line" | cut -f3 | cut -d' ' -f1)")
done
median() { printf '%s\n' "$@" | sort -g | sed -n 3p; }
ms=$(median "${sjis[@]}") me=$(median "${euc[@]}")
printf 'median first paint: text.sjis %s s, text.euc %s s, EUC/SJIS %.2f\n' "$ms" "$me" "$(echo "$me / $ms" | bc -l)"
