#!/usr/bin/env bash
# Builds the encoding library's fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each briefly on its stored seed corpus.
# usage: run_fuzzers.sh OUT_DIR [SECONDS_PER_TARGET] [TARGET...]
# Prints one line per target with the executions that ran clean; exit 1 on any finding.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../../.." && pwd)
OUT=${1:?usage: run_fuzzers.sh OUT_DIR [SECONDS] [TARGET...]}
SECONDS_EACH=${2:-5}
shift $(( $# < 2 ? $# : 2 ))
CXX=${CLANGXX:-clang++}
command -v "$CXX" > /dev/null || { echo "no $CXX: fuzzing skipped"; exit 0; }
mkdir -p "$OUT/obj"
COMMON=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=undefined -I"$ROOT/src")

objs=()
for src in "$ROOT"/src/encoding/*.cpp; do
  obj="$OUT/obj/$(basename "${src%.cpp}").o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$ROOT/src/encoding" -name '*.h' -newer "$obj")" ]; then
    "$CXX" "${COMMON[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$src" -o "$obj" || exit 1
  fi
  objs+=("$obj")
done

targets=("$@")
[ ${#targets[@]} -gt 0 ] || for f in "$HERE"/fuzz_*.cpp; do t=$(basename "${f%.cpp}"); targets+=("${t#fuzz_}"); done
status=0
for t in "${targets[@]}"; do
  bin="$OUT/fuzz_$t"
  if [ ! -x "$bin" ] || [ "$HERE/fuzz_$t.cpp" -nt "$bin" ] || [ -n "$(find "$OUT/obj" -name '*.o' -newer "$bin")" ]; then
    "$CXX" "${COMMON[@]}" -fsanitize=fuzzer,address,undefined "$HERE/fuzz_$t.cpp" "${objs[@]}" -o "$bin" || exit 1
  fi
  mkdir -p "$OUT/corpus_$t"
  log="$OUT/fuzz_$t.log"
  "$bin" -max_total_time="$SECONDS_EACH" -max_len=4096 -print_final_stats=1 -artifact_prefix="$OUT/crash_$t-" \
    "$OUT/corpus_$t" "$HERE/corpus/$t" > "$log" 2>&1
  rc=$?
  runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
  if [ $rc -ne 0 ]; then
    echo "fuzz_$t: FAILED after ${runs:-?} executions (see $log)"
    status=1
  else
    echo "fuzz_$t: ${runs:-?} executions clean in ${SECONDS_EACH}s"
  fi
done
exit $status
