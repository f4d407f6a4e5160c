#!/usr/bin/env bash
# Runs every fuzz target for MINUTES minutes each, all at once (one process
# per target, at the lowest priority), and prints each target's executions
# and coverage at the end. Builds the clang fuzz tree (build-fuzz) first.
#
#   tools/fuzz.sh MINUTES
#   KELMO_FUZZ_ROUTE=N tools/fuzz.sh MINUTES   only the readers' route N
#
# Each target keeps the corpus it grows in build-fuzz/fuzz-runs/NAME/corpus
# (seeded from tests/fuzz), so a later run goes on from there; crashes are
# written beside it as crash-*. Copy a crash into the target's seed folder
# in tests/fuzz, next to the fix, so ctest replays it on every run.
# Exits non-zero when any target found a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
MINUTES="${1:?usage: tools/fuzz.sh MINUTES}"
SECONDS_EACH=$((MINUTES * 60))

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMO_FUZZ=ON \
    -DKELMO_TESTS=ON -DKELMO_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets

# Absolute paths: the targets work in a folder of their own.
ROOT="$(pwd)"
declare -A SEEDS=([pbn_reader]="$ROOT/tests/fuzz/corpus" [readers]="$ROOT/tests/fuzz/readers_corpus")
NAMES=(pbn_reader readers)
if [ -n "${KELMO_FUZZ_ROUTE:-}" ]; then
  NAMES=(readers)
fi

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
pids=()
for name in "${NAMES[@]}"; do
  dir="$ROOT/build-fuzz/fuzz-runs/$name${KELMO_FUZZ_ROUTE:+-route$KELMO_FUZZ_ROUTE}"
  mkdir -p "$dir/corpus"
  nice -n 19 "build-fuzz/tests/fuzz/fuzz_$name" "$dir/corpus" "${SEEDS[$name]}" \
    -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/crash-" >"$dir/log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!NAMES[@]}"; do
  name="${NAMES[$i]}"
  dir="$ROOT/build-fuzz/fuzz-runs/$name${KELMO_FUZZ_ROUTE:+-route$KELMO_FUZZ_ROUTE}"
  if ! wait "${pids[$i]}"; then status=1; fi
  runs="$(grep -o 'stat::number_of_executed_units: [0-9]*' "$dir/log" | tail -1 | awk '{print $2}')"
  last="$(grep -E '^#[0-9]+' "$dir/log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [^ ]+' || true)"
  crashes="$(find "$dir" -maxdepth 1 -name 'crash-*' | wc -l)"
  echo "$name: ${runs:-?} executions, ${last:-no stats}, $crashes crash file(s); log $dir/log"
done
exit $status
