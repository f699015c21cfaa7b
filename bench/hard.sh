#!/usr/bin/env bash
# Hard polynomials: products of two to four factors, of degree 16 to 40, with
# coefficients up to about 50 (bench/hard_corpus.txt, made with a fixed seed by
# bench/make_hard_corpus.py). The exhaustive search is slow on them by nature;
# this measures how many pfac factors completely, and in how long, under its
# real limits: the real clock, 7 minutes for the first pass and 1 minute for
# each later one. Standard input is at its end, so no retry is asked for.
#
#   bench/hard.sh [JOBS] [CAP_MINUTES] [CORPUS]
#
# JOBS cases run side by side (2 by default, one a core); a case still running
# after CAP_MINUTES (20 by default) is ended and listed as such. Prints one line
# a case and a summary; each case's folder (DXS.DAT, jg.dat, the console) is
# kept under build/hard/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${1:-2}
cap=${2:-20}
corpus=${3:-bench/hard_corpus.txt}

scripts/install-deps.sh >&2
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target pfac-engine measure >/dev/null
export engine=$root/build/bin/pfac-engine measure=$root/build/bin/measure cap
out=$root/build/hard
rm -rf "$out"
mkdir -p "$out"
export out

# One case: NAME|POLYNOMIAL|FACTORS. Writes out/NAME/verdict as
# "NAME DEGREE FACTORS FOUND SECONDS STATE".
run_case() {
  IFS='|' read -r name poly factors <<<"$1"
  local dir=$out/$name
  mkdir -p "$dir/run"
  printf '"%s"\r\n' "$poly" >"$dir/run/DXS.DAT"
  local cost state found seconds degree
  cost=$(timeout "${cap}m" "$measure" -C "$dir/run" -o "$dir/console.txt" "$engine" 2>/dev/null) || true
  seconds=$(awk '{ printf "%.0f", $1 }' <<<"$cost")
  [ -n "$seconds" ] || seconds=$((cap * 60))
  local jg=$dir/run/jg.dat
  if [ -z "$cost" ]; then
    state="cut-at-cap"
  elif [ ! -f "$jg" ]; then
    state="refused"  # the console says why (console.txt)
  elif tr -d '\r' <"$jg" | grep -qx '=\.\.\.\.'; then
    state="stopped-by-limit"
  elif tr -d '\r' <"$jg" | grep -qx '=\.\.\.'; then
    state="late-mode"
  else
    state="searched-to-end"
  fi
  # Factors on the closing result line, in its last "=" segment (a line that
  # repeats an unsplit polynomial reads "=(P)=(P)"): its top-level parentheses.
  found=$(cat "$jg" 2>/dev/null | tr -d '\r' | grep -v '^=\.\.\.' | tail -n 1 |
    awk '{ n = 0; d = 0; for (i = 1; i <= length($0); i++) { c = substr($0, i, 1)
             if (c == "=" && d == 0) n = 0
             else if (c == "(") { if (d == 0) n++; d++ } else if (c == ")") d-- }
           print n }')
  degree=$(grep -o 'x^[0-9]*' <<<"$poly" | head -n 1 | tr -d 'x^')
  echo "$name $degree $factors ${found:-0} $seconds $state" >"$dir/verdict"
  echo "$name: $found of $factors factors, $seconds s, $state" >&2
}
export -f run_case

start=$(date +%s)
grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$' | xargs -d '\n' -P "$jobs" -I{} bash -c 'run_case "$1"' _ {}
total=$(($(date +%s) - start))

echo
echo "| case | degree | irreducible factors | pfac found | time | how the run ended | complete |"
echo "|------|--------|---------------------|------------|------|-------------------|----------|"
complete=0
cases=0
for v in "$out"/*/verdict; do
  read -r name degree factors found seconds state <"$v"
  cases=$((cases + 1))
  done_=no
  if [ "$found" = "$factors" ]; then
    done_=yes
    complete=$((complete + 1))
  fi
  printf '| %s | %s | %s | %s | %d min %02d s | %s | %s |\n' "$name" "$degree" "$factors" "$found" \
    $((seconds / 60)) $((seconds % 60)) "$state" "$done_"
done
echo
echo "$complete of $cases factored completely; $jobs at a time, $((total / 60)) min $((total % 60)) s in all."
