#!/usr/bin/env bash
# The long mode of the property test: random products through the whole engine,
# each final result line multiplied back in exact integers.
#   scripts/property-long.sh [CASES] [PROCESSES] [FIRST_SEED]
# runs CASES cases (default 300000) split over PROCESSES parallel processes
# (default: the number of cores), each with a seed of its own (FIRST_SEED,
# FIRST_SEED + 1, ...; default 1). Uses build/bin/engine_tests (./test.sh
# builds it). Prints each process's summary and fails when any case fails;
# the failing polynomial is in that process's log under build/property-long/.
set -euo pipefail
cd "$(dirname "$0")/.."
cases=${1:-300000}
processes=${2:-$(nproc 2>/dev/null || echo 2)}
first_seed=${3:-1}
tests=build/bin/engine_tests
[ -x "$tests" ] || { echo "build $tests first (./test.sh)" >&2; exit 2; }
logs=build/property-long
mkdir -p "$logs"

per_process=$(( (cases + processes - 1) / processes ))
pids=()
for ((p = 0; p < processes; p++)); do
  seed=$((first_seed + p))
  PFAC_PROPERTY_CASES=$per_process PFAC_PROPERTY_SEED=$seed \
    "$tests" --gtest_filter='Property.*' >"$logs/seed-$seed.log" 2>&1 &
  pids+=($!)
done
failed=0
for ((p = 0; p < processes; p++)); do
  seed=$((first_seed + p))
  if ! wait "${pids[$p]}"; then
    failed=1
    echo "seed $seed FAILED: see $logs/seed-$seed.log"
  fi
  echo "seed $seed: $(grep 'random products checked' "$logs/seed-$seed.log" || echo 'no summary')"
done
exit $failed
