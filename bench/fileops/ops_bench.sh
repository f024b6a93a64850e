#!/usr/bin/env bash
# File engine speed: haruvi-tool copy, split, merge and trash beside cp -a, cp, split, cat
# and gio trash (else mv into the trash folder), each pair in one hyperfine run.
#   tree: the generated 20,000 files in 1,000 folders;  big: a 1 GB file of random bytes.
# Usage: bench/fileops/ops_bench.sh [CORPUS_DIR] [HARUVI_TOOL] [WORK_DIR]
# hyperfine runs without a shell (-N), so every compound command goes through bash -c.
# WORK_DIR (default /tmp/haruvi-opsbench) must be on a disk file system with ~4 GB free.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${1:-/tmp/corpus-tree}
tool=${2:-$root/build/bench/src/tools/haruvi-tool}
work=${3:-/tmp/haruvi-opsbench}
gen=${GEN_CORPUS:-$root/../shared/bench/gen_corpus.py}
runs=${RUNS:-5}
command -v hyperfine >/dev/null || { echo "needs hyperfine (scripts/setup.sh bench)" >&2; exit 2; }
if [ ! -d "$corpus/tree" ]; then
  python3 "$gen" "$corpus" --scale 0.01 --tree-files 20000 --tree-dirs 1000 >/dev/null
fi
tree="$corpus/tree"
mkdir -p "$work"
big="$work/big.bin"
[ -f "$big" ] && [ "$(stat -c %s "$big")" -eq 1073741824 ] || head -c 1073741824 /dev/urandom > "$big"
export tool tree big work
echo "tree: $(find "$tree" -type f | wc -l) files, $(du -sb "$tree" | cut -f1) bytes; big: $(stat -c %s "$big") bytes"
json="$work/json"
mkdir -p "$json"

hf() {  # name, the peer's label, then hyperfine arguments (ours first, the peer second)
  local name=$1 peer_label=$2
  shift 2
  hyperfine -N --style basic --warmup 1 --runs "$runs" --export-json "$json/$name.json" "$@" >/dev/null
  python3 - "$json/$name.json" "$name" "$peer_label" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
ours, peer = r[0]["median"], r[1]["median"]
print(f"{sys.argv[2]:<11} haruvi {ours:8.3f} s   {sys.argv[3]:<10} {peer:8.3f} s   ratio {ours / peer:.2f}")
PY
}

# Copy of the tree: into an emptied folder each run.
hf tree-copy "cp -a" --prepare "bash -c 'rm -rf $work/dst && mkdir $work/dst'" \
  "$tool copy $tree $work/dst" "cp -a $tree $work/dst"
# Copy of the 1 GB file.
hf big-copy cp --prepare "bash -c 'rm -rf $work/dst && mkdir $work/dst'" \
  "$tool copy $big $work/dst" "cp $big $work/dst"
# Split into 100 MiB pieces, and joining them again.
hf big-split split --prepare "bash -c 'rm -rf $work/pieces && mkdir $work/pieces'" \
  "bash -c 'cd $work/pieces && ln -f $big big.bin && $tool split big.bin 104857600 >/dev/null'" \
  "bash -c 'cd $work/pieces && ln -f $big big.bin && split -b 104857600 -a 3 -d big.bin big.'"
rm -rf "$work/pieces" && mkdir "$work/pieces" && (cd "$work/pieces" && ln -f "$big" big.bin && "$tool" split big.bin 104857600 >/dev/null && rm big.bin)
hf big-merge cat --prepare "rm -f $work/joined.bin" \
  "bash -c '$tool merge $work/joined.bin $work/pieces/big.0*'" \
  "bash -c 'cat $work/pieces/big.0* > $work/joined.bin'"
cmp "$work/joined.bin" "$big" && echo "merge(split(big)) = big"
# The same with the peer flushing its result too, as ours does before it renames it into place.
hf merge-synced "cat+sync" --prepare "rm -f $work/joined.bin" \
  "bash -c '$tool merge $work/joined.bin $work/pieces/big.0*'" \
  "bash -c 'cat $work/pieces/big.0* > $work/joined.bin && sync $work/joined.bin'"
# Trash of the tree's 20,000 files named one by one (find -exec ... +), into a trash of its own.
prep="rm -rf $work/t $work/data && cp -a $tree $work/t"
if command -v gio >/dev/null; then
  peer="bash -c 'XDG_DATA_HOME=$work/data find $work/t -type f -exec gio trash {} +'" label="gio trash"
else
  peer="bash -c 'mkdir -p $work/data/Trash/files && find $work/t -type f -exec mv --backup=numbered -t $work/data/Trash/files {} +'" label="mv"
fi
runs=3
hf tree-trash "$label" --prepare "bash -c '$prep'" \
  "bash -c 'XDG_DATA_HOME=$work/data find $work/t -type f -exec $tool trash {} +'" "$peer"
rm -rf "$work/dst" "$work/t" "$work/data" "$work/pieces" "$work/joined.bin"
