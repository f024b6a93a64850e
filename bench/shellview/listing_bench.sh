#!/usr/bin/env bash
# Listing a folder of 200,000 files: the whole window started on a file of that folder
# (start-up, listing, selection, first paint, close) against ls -la of the same folder,
# three runs each in one session, with the window's peak memory.
# Usage: bench/shellview/listing_bench.sh [FOLDER] [HARUVI]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-/tmp/haruvi-bench-200k}
haruvi=${2:-$root/build/release/src/app/haruvi}
if [ ! -d "$folder" ] || [ "$(ls -f "$folder" | wc -l)" -lt 200000 ]; then
  mkdir -p "$folder"
  python3 - "$folder" <<'PY'
import os, sys
d = sys.argv[1]
for i in range(200000):
    open(os.path.join(d, f"file{i:06d}.txt"), "wb").close()
PY
fi
export QT_QPA_PLATFORM=offscreen
small=$(mktemp -d)
echo x > "$small/one.txt"
echo "folder: $(ls -f "$folder" | wc -l) entries"
# Every run a window of its own, on a new settings file (no folder remembered).
window() { HARUVI_INI=$(mktemp -d)/h.ini /usr/bin/time -f "$1 %e s, peak %M KB" "$haruvi" --screenshot /tmp/listing_bench.png "$2" 2>&1 | grep "^$1" || true; }
for run in 1 2 3; do
  window "haruvi window, 200,000 files:" "$folder/file100000.txt"
  window "haruvi window, one file:     " "$small/one.txt"
  /usr/bin/time -f "ls -la, 200,000 files:        %e s, peak %M KB" ls -la "$folder" 2>&1 >/dev/null | grep "ls -la" || true
done
