#!/usr/bin/env bash
# Printing big Shift_JIS texts to PDF: Haruvi's page-by-page printer beside paps (Pango's
# text printer, PostScript in Debian 12) on the same text in UTF-8, from the same run; time and peak memory
# from /usr/bin/time -v. Peak memory that stays far below the text's size shows streaming.
# Usage: bench/print/run.sh [CORPUS_DIR] [BUILD_DIR] [MB...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus}
build=${2:-$root/build/bench}
shift $(( $# > 2 ? 2 : $# )) || true
sizes=${*:-10 100}
[ -f "$corpus/text.sjis" ] || python3 "$root/../shared/bench/gen_corpus.py" "$corpus" --scale 1 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measure() {  # name, command...
  local name=$1; shift
  /usr/bin/time -v "$@" > "$work/out" 2> "$work/time" || { echo "$name failed"; tail -3 "$work/time"; return; }
  local secs rss
  secs=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}')
  rss=$(grep 'Maximum resident' "$work/time" | awk '{print $NF}')
  printf '%s\t%s MB\twall %s\tpeak RSS %d MB\t%s\n' "$name" "$mb" "$secs" $((rss / 1024)) "$(tr '\t' ' ' < "$work/out" | head -1)"
}
printf 'program\tsize\ttime\tpeak memory\tnote\n'
for mb in $sizes; do
  head -c $((mb * 1000000)) "$corpus/text.sjis" > "$work/in.sjis"
  iconv -f CP932 -t UTF-8 -c < "$work/in.sjis" > "$work/in.utf8" || true
  measure haruvi "$build/bench/print/print_pdf_bench" "$work/in.sjis" "$work/haruvi.pdf"
  printf '\t\t\t\tPDF %s bytes, %s pages\n' "$(stat -c %s "$work/haruvi.pdf")" \
    "$(pdfinfo "$work/haruvi.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')"
  # Debian 12's paps writes PostScript only (to standard output). It lays out the whole
  # text at once (about 65 times its size in memory), so above PAPS_MAX_MB it is skipped.
  if [ "$mb" -gt "${PAPS_MAX_MB:-20}" ]; then
    printf 'paps\t%s MB\tskipped: about %d MB of memory (PAPS_MAX_MB=%s)\n' "$mb" $((mb * 65)) "${PAPS_MAX_MB:-20}"
    continue
  fi
  measure paps sh -c 'exec paps --paper=a4 --font="Noto Sans Mono CJK JP 10" "$1" > "$2"' paps "$work/in.utf8" "$work/paps.ps"
  [ -f "$work/paps.ps" ] && printf '\t\t\t\tPostScript %s bytes, %s pages\n' "$(stat -c %s "$work/paps.ps")" \
    "$(grep -c '^%%Page:' "$work/paps.ps" || true)"
  rm -f "$work"/*.pdf "$work"/*.ps
done
