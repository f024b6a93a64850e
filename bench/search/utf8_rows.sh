#!/usr/bin/env bash
# The UTF-8 rows of the search and detection goals, each beside its peer in the same run
# (hyperfine, warm page cache): haruvi-tool grep -n on text.utf8 beside rg -n for the
# literal 文字コード, the class regex [0-9]+年[0-9]+月 and [0-9]+ (output as UTF-8,
# as rg writes it), and haruvi-tool detect beside uchardet on text.utf8. Prints each
# pair's medians and ours as a multiple of the peer's speed (1.00 = as fast).
#   bench/search/utf8_rows.sh [CORPUS] [HARUVI_TOOL] [RUNS]
set -eu
C=${1:-/tmp/corpus}
H=${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/bench/src/tools/haruvi-tool}
RUNS=${3:-5}
[ -x "$H" ] || { echo "no haruvi-tool at $H" >&2; exit 2; }
T="$C/text.utf8"
LIT=$(cat "$C/patterns/lit.utf8") RE=$(cat "$C/patterns/re.utf8")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat "$T" > /dev/null
row() {  # name, ours, peer
  hyperfine -N --output=pipe -w 1 -r "$RUNS" --export-json "$work/r.json" -n ours "$2" -n peer "$3" > /dev/null 2>&1 ||
    { echo "$1: a command failed" >&2; return; }
  python3 - "$1" "$work/r.json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[2]))["results"]}
print(f"{sys.argv[1]:<28} ours {r['ours']:.3f} s   peer {r['peer']:.3f} s   {r['peer'] / r['ours']:.2f}x peer")
PY
}
printf 'text.utf8 (%s bytes), median of %s runs\n' "$(stat -c %s "$T")" "$RUNS"
row "grep literal vs rg"        "$H grep -n --out utf8 $LIT $T"      "rg --no-config -n -F $LIT $T"
row "grep [0-9]+年[0-9]+月 vs rg" "$H grep -n --out utf8 $RE $T"       "rg --no-config -n $RE $T"
row "grep [0-9]+ vs rg"         "$H grep -n --out utf8 [0-9]+ $T"    "rg --no-config -n [0-9]+ $T"
row "detect vs uchardet"        "$H detect $T"                       "uchardet $T"
