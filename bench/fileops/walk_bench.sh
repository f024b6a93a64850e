#!/usr/bin/env bash
# Folder status speed: haruvi-tool dirstat against du -sb and find | wc -l on the
# generated tree of 20,000 files in 1,000 folders, side by side in one hyperfine run.
# Usage: bench/fileops/walk_bench.sh [CORPUS_DIR] [HARUVI_TOOL]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus-tree}
tool=${2:-$root/build/bench/src/tools/haruvi-tool}
gen=${GEN_CORPUS:-$root/../shared/bench/gen_corpus.py}
if [ ! -d "$corpus/tree" ]; then
  python3 "$gen" "$corpus" --scale 0.01 --tree-files 20000 --tree-dirs 1000 >/dev/null
fi
tree="$corpus/tree"
echo "tree: $(find "$tree" -type f | wc -l) files in $(find "$tree" -type d | wc -l) folders"
echo "haruvi: $("$tool" dirstat "$tree" | cut -f1,2)   du -sb: $(du -sb "$tree" | cut -f1)"
hyperfine -N --warmup 3 --runs 20 --export-json /tmp/walk_bench.json \
  "$tool dirstat $tree" "du -sb $tree" "bash -c 'find $tree -type f | wc -l'"
python3 - <<'PY'
import json
r = {x["command"].split()[0].split("/")[-1] if "find" not in x["command"] else "find|wc": x["median"]
     for x in json.load(open("/tmp/walk_bench.json"))["results"]}
ours = r["haruvi-tool"]
print(f"median s: haruvi {ours:.4f}  du -sb {r['du']:.4f}  find|wc {r['find|wc']:.4f}")
print(f"ratio haruvi / du -sb = {ours / r['du']:.2f}")
PY
