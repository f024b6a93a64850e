#!/usr/bin/env bash
# Peak memory (/usr/bin/time %M) and time of haruvi-tool's commands on big inputs made on
# the fly: one single line and a file of ordinary lines, fed through a pipe (grep reads
# /dev/stdin redirected from the file); output goes through a pipe too (a peer may stop
# early when it sees it writes to /dev/null). A peer tool runs beside each command where one
# exists, in the same run. By hand only, never in CI; use a Release build:
#   cmake -S . -B build/r -G Ninja -DCMAKE_BUILD_TYPE=Release -DHARUVI_TESTS=OFF
#   ninja -C build/r haruvi-tool
#   bench/tools/memory.sh [SIZE_MIB (1024)] [haruvi-tool (build/r/src/tools/haruvi-tool)]
set -euo pipefail
MIB=${1:-1024}
H=${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/r/src/tools/haruvi-tool}
[ -x "$H" ] || { echo "no haruvi-tool at $H" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (package time)" >&2; exit 2; }
W=$(mktemp -d "${TMPDIR:-/tmp}/haruvi-memory-XXXXXX")
trap 'rm -rf "$W"' EXIT

# Valid Shift_JIS only (kanji, kana, ASCII with an 'a' now and then), so iconv reads it all.
python3 - "$W" "$MIB" <<'PY'
import sys
w, mib = sys.argv[1], int(sys.argv[2])
words = ["漢字", "ひらがな", "カタカナ", "abc", " ", "日本語の文章", "x=1;", "全角　空白", "&amp;", "<b>"]
def block(line_len):
    out, line, size, k = [], "", 0, 0
    while size + len(line) < (1 << 16):
        wd = words[k * 7 % len(words)].encode("cp932").decode("latin-1"); k += 1
        line += wd
        if line_len and len(line) >= line_len:
            out.append(line + "\r\n"); size += len(line) + 2; line = ""
    out.append(line)
    return "".join(out).encode("latin-1")[: 1 << 16]
for name, line_len in (("one", 0), ("lines", 60)):
    b = block(line_len)
    if line_len:  # end on a line end so the blocks join into whole lines
        b = b[: b.rfind(b"\r\n") + 2]
    with open(f"{w}/{name}.sjis", "wb") as f:
        for _ in range((mib << 20) // len(b)):
            f.write(b)
PY
for name in one lines; do
  "$H" conv --raw sjis2jis "$W/$name.sjis" > "$W/$name.jis"
  base64 -w0 "$W/$name.sjis" > "$W/$name.b64"
done

# measure LABEL INPUT COMMAND...: the command reads the input from a pipe.
measure() {
  local label=$1 input=$2
  shift 2
  local status=0
  cat "$input" | /usr/bin/time -f '%M %e' -o "$W/time" "$@" 2> "$W/err" | cat > /dev/null || status=$?
  read -r kb secs < <(tail -n 1 "$W/time")
  local note=""
  [ "$status" -ne 0 ] && note="exit $status: $(head -c 100 "$W/err" | tr '\n' ' ')"
  printf '  %-34s %8d MiB %8.2f s  %s\n' "$label" $((kb / 1024)) "$secs" "$note"
}
# The same with the input as standard input redirected from the file.
measure_file() {
  local label=$1 input=$2
  shift 2
  local status=0
  /usr/bin/time -f '%M %e' -o "$W/time" "$@" < "$input" 2> "$W/err" | cat > /dev/null || status=$?
  read -r kb secs < <(tail -n 1 "$W/time")
  local note=""
  [ "$status" -gt 1 ] && note="exit $status: $(head -c 100 "$W/err" | tr '\n' ' ')"
  printf '  %-34s %8d MiB %8.2f s  %s\n' "$label" $((kb / 1024)) "$secs" "$note"
}

for name in one lines; do
  S=$W/$name.sjis
  echo "== $name: $(stat -c %s "$S") bytes of Shift_JIS ($( [ $name = one ] && echo 'one line' || echo 'lines of about 60 bytes'))"
  measure "conv sjis2jis" "$S" "$H" conv sjis2jis
  measure "  iconv SHIFT_JIS to ISO-2022-JP" "$S" iconv -f SHIFT_JIS -t ISO-2022-JP
  measure "conv sjis2euc" "$S" "$H" conv sjis2euc
  measure "  iconv SHIFT_JIS to EUC-JP" "$S" iconv -f SHIFT_JIS -t EUC-JP
  measure "conv jis2sjis" "$W/$name.jis" "$H" conv jis2sjis
  measure "  iconv ISO-2022-JP to SHIFT_JIS" "$W/$name.jis" iconv -f ISO-2022-JP -t SHIFT_JIS
  measure "conv --raw base64" "$S" "$H" conv --raw base64
  measure "  base64 -w0" "$S" base64 -w0
  measure "conv --raw base64d" "$W/$name.b64" "$H" conv --raw base64d
  measure "  base64 -d" "$W/$name.b64" base64 -d
  measure "width han2zen" "$S" "$H" width han2zen
  measure "gsub a XY" "$S" "$H" gsub a XY
  measure_file "grep -n a /dev/stdin" "$S" "$H" grep -n a /dev/stdin
  measure_file "  grep -n a" "$S" grep -n a
  measure "text html" "$S" "$H" text html
  measure "text sort-asc" "$S" "$H" text sort-asc
done
