#!/usr/bin/env bash
# Builds a subsystem's libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer too), compiling the subsystem's sources into each target so
# the fuzzer sees their coverage, and runs each briefly on its stored seed corpus.
# usage: run_fuzzers.sh SUBSYSTEM OUT_DIR [SECONDS_PER_TARGET] [TARGET...]
#   targets are tests/SUBSYSTEM/fuzz/fuzz_NAME.cpp or NAME_fuzz.cpp; seeds, if any, in
#   tests/SUBSYSTEM/fuzz/corpus/NAME.
# A file tests/SUBSYSTEM/fuzz/sources may name the sources to compile instead (globs
# relative to src/, one or more a line) and, on a line starting with "libs:", what to link.
# Prints one line per target with the executions that ran clean; exit 1 on any finding.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SUB=${1:?usage: run_fuzzers.sh SUBSYSTEM OUT_DIR [SECONDS] [TARGET...]}
OUT=${2:?usage: run_fuzzers.sh SUBSYSTEM OUT_DIR [SECONDS] [TARGET...]}
SECONDS_EACH=${3:-5}
shift $(( $# < 3 ? $# : 3 ))
HERE="$ROOT/tests/$SUB/fuzz"
CXX=${CLANGXX:-clang++}
command -v "$CXX" > /dev/null || { echo "no $CXX: fuzzing skipped"; exit 0; }
mkdir -p "$OUT/obj"
COMMON=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=undefined -I"$ROOT/src")

sources=("$ROOT"/src/"$SUB"/*.cpp)
libs=()
if [ -f "$HERE/sources" ]; then
  sources=()
  while read -r line; do
    case "$line" in
      ''|'#'*) ;;
      libs:*) read -r -a libs <<< "${line#libs:}" ;;
      *) for g in $line; do for f in "$ROOT"/src/$g; do sources+=("$f"); done; done ;;
    esac
  done < "$HERE/sources"
fi
objs=()
for src in "${sources[@]}"; do
  obj="$OUT/obj/$(basename "$(dirname "$src")")_$(basename "${src%.cpp}").o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$ROOT/src" -name '*.h' -newer "$obj")" ]; then
    "$CXX" "${COMMON[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$src" -o "$obj" || exit 1
  fi
  objs+=("$obj")
done

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$HERE"/fuzz_*.cpp "$HERE"/*_fuzz.cpp; do
    [ -f "$f" ] || continue
    t=$(basename "${f%.cpp}"); t=${t#fuzz_}; targets+=("${t%_fuzz}")
  done
fi
status=0
for t in "${targets[@]}"; do
  src="$HERE/fuzz_$t.cpp"
  [ -f "$src" ] || src="$HERE/${t}_fuzz.cpp"
  bin="$OUT/fuzz_$t"
  if [ ! -x "$bin" ] || [ "$src" -nt "$bin" ] || [ -n "$(find "$OUT/obj" -name '*.o' -newer "$bin")" ]; then
    "$CXX" "${COMMON[@]}" -fsanitize=fuzzer,address,undefined "$src" "${objs[@]}" "${libs[@]}" -o "$bin" || exit 1
  fi
  mkdir -p "$OUT/corpus_$t"
  log="$OUT/fuzz_$t.log"
  "$bin" -max_total_time="$SECONDS_EACH" -max_len=4096 -print_final_stats=1 -artifact_prefix="$OUT/crash_$t-" \
    "$OUT/corpus_$t" $( [ -d "$HERE/corpus/$t" ] && echo "$HERE/corpus/$t" ) > "$log" 2>&1
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
