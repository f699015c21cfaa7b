#!/usr/bin/env bash
# Hard polynomials: products of two to four factors, of degree 16 to 40, with
# coefficients up to about 50 (bench/hard_corpus.txt, made with a fixed seed by
# bench/make_hard_corpus.py). The exhaustive search alone is slow on them by
# nature; this measures how long pfac takes to a complete answer with a
# "complete" certificate, under its real limits (the real clock, 7 minutes for
# the first pass and 1 minute for each later one, the exact factoriser beside
# the search), and how long gp takes to factor the same polynomial, each
# ROUNDS times (3 by default), pfac and gp in turn, the median of each
# counted, and whether pfac ends within max(1.5 x gp, 0.05 s). Standard input
# is at its end, so no retry is asked for.
#
#   bench/hard.sh [JOBS] [CAP_MINUTES] [CORPUS]
#   PEERS= bench/hard.sh        pfac alone, without gp
#   ENGINE=PATH bench/hard.sh   another build of the engine (an older one, to
#                               compare; its results carry no certificate)
#   ROUNDS=1 bench/hard.sh      one run of each instead of the median of 3
#
# JOBS cases run side by side (2 by default, one a core); a case still running
# after CAP_MINUTES (20 by default) is ended and listed as such. Prints one line
# a case, a table and a summary; each case's folder (DXS.DAT, jg.dat, the
# console, of the last round) is kept under build/hard/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${1:-2}
cap=${2:-20}
corpus=${3:-bench/hard_corpus.txt}
peers=${PEERS-gp}
rounds=${ROUNDS:-3}

source bench/cases.sh
build_for_cases
engine=${ENGINE:-$root/build/bin/pfac-engine}
export engine measure=$root/build/bin/measure cap peers rounds
out=$root/build/hard
rm -rf "$out"
mkdir -p "$out"
export out

# One case: NAME|POLYNOMIAL|FACTORS, ROUNDS times pfac and gp in turn. Writes
# out/NAME/verdict as "NAME DEGREE FACTORS FOUND SECONDS CERTIFICATE
# GP-SECONDS", the medians; the certificate and the factors found are the last
# round's unless an earlier certificate differs (then that one shows).
run_case() {
  IFS='|' read -r name poly factors <<<"$1"
  local dir=$out/$name
  mkdir -p "$dir"
  local cost seconds found degree certificate= this gp=- r times= gptimes=
  for ((r = 1; r <= rounds; r++)); do
    rm -rf "$dir/run"
    mkdir -p "$dir/run"
    printf '"%s"\r\n' "$poly" >"$dir/run/DXS.DAT"
    cost=$(timeout "${cap}m" "$measure" -C "$dir/run" -o "$dir/console.txt" "$engine" 2>/dev/null) || true
    seconds=$(awk '{ printf "%.3f", $1 }' <<<"$cost")
    [ -n "$seconds" ] || seconds=$((cap * 60))
    times+="$seconds"$'\n'
    this=cut-at-cap
    [ -z "$cost" ] || this=$(certificate_of "$dir/run/jg.dat")
    [ -n "$certificate" ] && [ "$certificate" != "$this" ] || certificate=$this
    if [ -n "$peers" ]; then
      gp_request "$poly" >"$dir/gp.in"
      gptimes+="$("$measure" -o "$dir/gp.out" gp -q -f "$dir/gp.in" | awk '{ printf "%.3f", $1 }')"$'\n'
    fi
  done
  seconds=$(printf '%s' "$times" | median_of)
  [ -z "$gptimes" ] || gp=$(printf '%s' "$gptimes" | median_of)
  local jg=$dir/run/jg.dat
  # Factors on the search's closing result line (before the marks and the
  # factoriser's lines), in its last "=" segment: its top-level parentheses.
  found=$(tr -d '\r' <"$jg" 2>/dev/null | sed -n '/^验证\|^内部错误/q; p' | grep -v '^=\.\.\.\|^精确分解' |
    tail -n 1 |
    awk '{ n = 0; d = 0; for (i = 1; i <= length($0); i++) { c = substr($0, i, 1)
             if (c == "=" && d == 0) n = 0
             else if (c == "(") { if (d == 0) n++; d++ } else if (c == ")") d-- }
           print n }')
  degree=$(grep -o 'x^[0-9]*' <<<"$poly" | head -n 1 | tr -d 'x^')
  echo "$name $degree $factors ${found:-0} $seconds $certificate $gp" >"$dir/verdict"
  echo "$name: $found of $factors factors, $seconds s, certificate $certificate, gp $gp s" >&2
}
export -f run_case

start=$(date +%s)
grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$' | xargs -d '\n' -P "$jobs" -I{} bash -c 'run_case "$1"' _ {}
total=$(($(date +%s) - start))

echo
echo "| case | degree | irreducible factors | on the search's result line | certificate | pfac | gp | within max(1.5 gp, 0.05 s) |"
echo "|------|--------|---------------------|-----------------------------|-------------|------|----|----------------------------|"
cat "$out"/*/verdict | sort | while read -r name degree factors found seconds certificate gp; do
  printf '| %s | %s | %s | %s | %s | %.2f s | %s | %s |\n' "$name" "$degree" "$factors" "$found" "$certificate" \
    "$seconds" "$([ "$gp" = - ] && echo - || printf '%.2f s' "$gp")" \
    "$([ "$gp" = - ] && echo - || awk -v s="$seconds" -v g="$gp" -v c="$certificate" 'BEGIN {
       bound = 1.5 * g; if (bound < 0.05) bound = 0.05; print c == "complete" && s <= bound ? "yes" : "no" }')"
done
echo
cat "$out"/*/verdict | awk -v jobs="$jobs" -v total="$total" -v rounds="$rounds" "$median_awk"'
  { n++; t[n] = $5; if ($6 == "complete") done_++; if ($5 > top) top = $5
    if ($7 != "-") { g++; gp[g] = $7; bound = 1.5 * $7; if (bound < 0.05) bound = 0.05
                     if ($6 == "complete" && $5 <= bound) within++ } }
  END {
    printf "%d of %d complete and certified; pfac longest %.2f s, median %.2f s", done_, n, top, median(t, n)
    if (g) printf "; gp median %.2f s; %d of %d within max(1.5 gp, 0.05 s)", median(gp, g), within, g
    printf "; medians of %d rounds, %d at a time, %d s in all.\n", rounds, jobs, total
  }'
