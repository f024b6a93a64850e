#!/usr/bin/env bash
# Grep speed beside GNU grep and ripgrep: peers.sh's grep rows plus haruvi-tool's.
#   bench/search/run.sh [CORPUS] [HARUVI_TOOL]    (defaults: /tmp/corpus, build/regex-rel)
set -u
here=$(cd "$(dirname "$0")" && pwd)
corpus=${1:-/tmp/corpus}
export HARUVI_TOOL=${2:-$here/../../build/regex-rel/src/tools/haruvi-tool}
[ -x "$HARUVI_TOOL" ] || { echo "no haruvi-tool at $HARUVI_TOOL (build a Release folder)" >&2; exit 2; }
exec bash "$here/../../../shared/bench/peers.sh" "$corpus" -j '^grep' -x "$here/grep_jobs.sh" -o /tmp/peers.grep
