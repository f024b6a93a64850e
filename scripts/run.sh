#!/usr/bin/env bash
# Sets up, builds a Release build and starts Haruvi; arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" build
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DHARUVI_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target haruvi haruvi-tool
exec "$root/build/release/src/app/haruvi" "$@"
