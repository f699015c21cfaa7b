#!/usr/bin/env bash
# Builds the engine's fuzz target with clang in build-fuzz/ and fuzzes it.
#   fuzz/fuzz.sh [SECONDS] [CLOCK_MS]
#   FUZZ_TARGET=reader fuzz/fuzz.sh [SECONDS]   the typed-text reader and the
#                      filter's line handling instead (seeds: fuzz/reader_corpus/;
#                      new inputs: build-fuzz/reader-corpus/)
# SECONDS: how long (default 1800); CLOCK_MS: how far the fake clock moves on
# at every reading (default 7000; larger values end searches sooner). Two
# processes in fork mode: a timeout or crash is saved under
# build-fuzz/artifacts/ and fuzzing goes on. New inputs land in
# build-fuzz/corpus/; the seeds in fuzz/corpus/ are only read. An input that
# made the engine fail belongs, once the fault is mended, in fuzz/regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-1800}
clock_ms=${2:-7000}

scripts/install-deps.sh
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPFAC_FRONTEND=OFF -DPFAC_TESTS=OFF -DPFAC_FUZZ=ON >/dev/null
if [ "${FUZZ_TARGET:-engine}" = reader ]; then
  cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target pfac-reader-fuzz
  mkdir -p build-fuzz/reader-corpus build-fuzz/artifacts
  cd build-fuzz
  exec ./bin/pfac-reader-fuzz -fork=2 -ignore_timeouts=1 -ignore_crashes=1 \
    -max_len=4096 -timeout=20 -rss_limit_mb=2048 -dict=../fuzz/engine.dict \
    -artifact_prefix=artifacts/reader- -max_total_time="$seconds" -print_final_stats=1 \
    reader-corpus ../fuzz/reader_corpus
fi
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target pfac-engine-fuzz
mkdir -p build-fuzz/corpus build-fuzz/artifacts
cd build-fuzz
PFAC_FUZZ_CLOCK_MS=$clock_ms ./bin/pfac-engine-fuzz -fork=2 -ignore_timeouts=1 -ignore_crashes=1 \
  -max_len=300 -timeout=20 -rss_limit_mb=2048 -dict=../fuzz/engine.dict \
  -artifact_prefix=artifacts/ -max_total_time="$seconds" -print_final_stats=1 \
  corpus ../fuzz/corpus ../fuzz/regressions
