#!/usr/bin/env bash
# Installs what is missing, builds pfac and runs every test; then builds the
# engine and its tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/) and runs them there, the replay of the fuzz corpus and of every
# input that ever made the engine fail included. Any sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPFAC_FRONTEND=OFF -DPFAC_SANITIZE=ON
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j "$jobs"
