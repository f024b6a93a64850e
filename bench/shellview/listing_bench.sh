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
# A window of its own: an empty settings file that starts in the program's folder.
export HARUVI_INI=$(mktemp -d)/h.ini QT_QPA_PLATFORM=offscreen
echo "folder: $(ls -f "$folder" | wc -l) entries"
for run in 1 2 3; do
  /usr/bin/time -f "haruvi window: %e s, peak %M KB" "$haruvi" --screenshot /tmp/listing_bench.png "$folder/file100000.txt" 2>&1 | grep "haruvi window" || true
  /usr/bin/time -f "ls -la:        %e s, peak %M KB" ls -la "$folder" 2>&1 >/dev/null | grep "ls -la" || true
done
/usr/bin/time -f "empty folder:  %e s, peak %M KB (the window's fixed costs)" "$haruvi" --screenshot /tmp/listing_bench.png 2>&1 | grep "empty folder" || true
