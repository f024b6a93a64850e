#!/usr/bin/env bash
# Archive speed beside bsdtar, gzip -6 in the same run: listing and unpacking a ~100 MB
# ZIP and TAR.GZ (made by bsdtar from the corpus texts), making an LZH of the same files
# against tar | gzip -6 (time and size), and listing a 20,000-entry archive (the text
# the pane shows). Never run in CI.
# Usage: bench/archive/archive_bench.sh [CORPUS_DIR] [HARUVI_TOOL]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus-archive}
tool=${2:-$root/build/bench/src/tools/haruvi-tool}
gen=${GEN_CORPUS:-$root/../shared/bench/gen_corpus.py}
if [ ! -f "$corpus/text.sjis" ]; then
  python3 "$gen" "$corpus" --scale 0.25 --tree-files 20000 --tree-dirs 1000 >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in"
for f in text.sjis text.euc text.utf8 ascii.txt; do cp "$corpus/$f" "$work/in/"; done
echo "input: $(du -sb "$work/in" | cut -f1) bytes in $(ls "$work/in" | wc -l) files"
(cd "$work" && bsdtar --format zip -cf big.zip in && bsdtar -czf big.tgz in)
(cd "$corpus" && bsdtar -czf "$work/tree.tgz" tree)
echo "tree archive: $(bsdtar -tf "$work/tree.tgz" | wc -l) entries"

run() {  # name, then hyperfine commands
  local name=$1; shift
  hyperfine -N --warmup 1 --runs 5 --export-json "$work/$name.json" "$@" >/dev/null
  python3 - "$work/$name.json" "$name" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
print(f"{sys.argv[2]:>14}: haruvi {r[0]['median']:.3f} s   peer {r[1]['median']:.3f} s   ({r[1]['command'].split()[0].split('/')[-1]})")
PY
}
mkdir -p "$work/u1" "$work/u2"
run "list zip" "$tool archive list $work/big.zip" "bsdtar -tvf $work/big.zip"
run "list tgz" "$tool archive list $work/big.tgz" "bsdtar -tvf $work/big.tgz"
run "unpack zip" --prepare "bash -c 'rm -rf $work/u1 $work/u2; mkdir -p $work/u1 $work/u2'" \
  "$tool archive unpack $work/big.zip $work/u1" "bsdtar -xf $work/big.zip -C $work/u2"
run "unpack tgz" --prepare "bash -c 'rm -rf $work/u1 $work/u2; mkdir -p $work/u1 $work/u2'" \
  "$tool archive unpack $work/big.tgz $work/u1" "bsdtar -xf $work/big.tgz -C $work/u2"
run "make lzh" --prepare "rm -f $work/new.lzh $work/new.tgz" \
  "$tool archive create lzh $work/new.lzh $work/in" "bash -c 'tar -cf - -C $work in | gzip -6 > $work/new.tgz'"
"$tool" archive create lzh "$work/new.lzh" "$work/in" >/dev/null
tar -cf - -C "$work" in | gzip -6 > "$work/new.tgz"
echo "      size: lzh $(stat -c %s "$work/new.lzh") bytes   gzip -6 $(stat -c %s "$work/new.tgz") bytes"
run "list 20000" "$tool archive list $work/tree.tgz" "bsdtar -tvf $work/tree.tgz"
