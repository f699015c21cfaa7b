#!/usr/bin/env bash
# Big polynomials: degrees up to the limit 4000 (bench/big_corpus.txt, made by
# bench/make_big_corpus.py): x^n ± 1, x^n ± y^n, trinomials x^2n ± x^n + 1,
# irreducible trinomials x^n - x - 1, products of sparse factors and powers of
# binomials. Each runs through pfac as the front end starts it (a fresh folder
# holding DXS.DAT, standard input at its end, the real clock and limits) to its
# certified answer, and through gp (factor(), capped at 60 s) in the same run,
# each ROUNDS times (3 by default), pfac and gp in turn, the median of each
# counted; one line a case, a table with each time, the certificate and the
# ratio pfac / gp, and a summary with the median ratio and the cases that end
# within max(1.5 x gp, 0.05 s).
#
#   bench/big.sh [JOBS] [CAP_SECONDS] [CORPUS]
#   bench/big.sh --helper [JOBS] [CAP_SECONDS] [CORPUS]
#                               the helper pfac-exact alone, fed the polynomial
#                               as the engine feeds it, beside gp
#   PEERS= bench/big.sh         pfac alone, without gp
#   ENGINE=PATH bench/big.sh    another build of the engine (it starts the
#                               helper beside it)
#   HELPER=PATH bench/big.sh --helper   another build of the helper
#   ROUNDS=1 bench/big.sh       one run of each instead of the median of 3
#
# JOBS cases run side by side (1 by default: the times are the point); pfac is
# ended after CAP_SECONDS (300 by default) and listed as cut. gp counts as 60 s
# where it is cut at 60 s or fails (its stack overflows on some of these even
# with 2 GB), and is not run again after a cut or a failure. Each case's
# folder (of its last round) is kept under build/big/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=engine
if [ "${1:-}" = --helper ]; then
  mode=helper
  shift
fi
jobs=${1:-1}
cap=${2:-300}
corpus=${3:-bench/big_corpus.txt}
peers=${PEERS-gp}
rounds=${ROUNDS:-3}

source bench/cases.sh
build_for_cases
engine=${ENGINE:-$root/build/bin/pfac-engine}
helper=${HELPER:-$root/build/bin/pfac-exact}
export mode engine helper measure=$root/build/bin/measure cap peers rounds
out=$root/build/big
rm -rf "$out"
mkdir -p "$out"
export out

# The helper's request for a polynomial in the input syntax with explicit "^":
# its letters in alphabetical order, one line a term.
request() {
  python3 - "$1" <<'EOF'
import re, sys
terms = re.findall(r'([+-]?)(\d*)((?:[a-z](?:\^\d+)?)*)', sys.argv[1])
terms = [t for t in terms if t[1] or t[2]]
letters = sorted(set(re.findall(r'[a-z]', sys.argv[1])))
print("pfac-exact 1")
print(len(letters), len(terms))
for sign, digits, monomial in terms:
    exponents = {letter: int(e or 1) for letter, e in re.findall(r'([a-z])(?:\^(\d+))?', monomial)}
    print(sign.replace("+", "") + (digits or "1"), *[exponents.get(letter, 0) for letter in letters])
EOF
}
export -f request

# One round of pfac on a case: prints "SECONDS CERTIFICATE".
run_pfac() {
  local dir=$1 poly=$2 cost certificate
  rm -rf "$dir/run"
  mkdir -p "$dir/run"
  if [ "$mode" = helper ]; then
    request "$poly" >"$dir/request.txt"
    cost=$(timeout "$cap" "$measure" -o "$dir/answer.txt" bash -c 'exec "$0" <"$1"' "$helper" \
      "$dir/request.txt" 2>/dev/null) || true
    certificate=cut-at-cap
    if [ -n "$cost" ]; then
      certificate=$(head -n 1 "$dir/answer.txt" | cut -d' ' -f1)
      [ "$certificate" = ok ] && certificate="ok-$(sed -n 3p "$dir/answer.txt" | cut -d' ' -f2)-factors"
    fi
  else
    printf '"%s"\r\n' "$poly" >"$dir/run/DXS.DAT"
    cost=$(timeout "$cap" "$measure" -C "$dir/run" -o "$dir/console.txt" "$engine" 2>/dev/null) || true
    certificate=cut-at-cap
    [ -z "$cost" ] || certificate=$(certificate_of "$dir/run/jg.dat")
  fi
  if [ -z "$cost" ]; then echo "$cap $certificate"; else awk -v c="$certificate" '{ printf "%.3f %s\n", $1, c }' <<<"$cost"; fi
}
export -f run_pfac

# One round of gp on a case: prints "SECONDS STATUS" (60 s for a cut or a failure).
run_gp() {
  local dir=$1 poly=$2 gpcost
  gp_request "$poly" >"$dir/gp.in"
  gpcost=$(timeout 60 "$measure" -o "$dir/gp.out" gp -q -f --default parisizemax=2000000000 "$dir/gp.in" \
    2>/dev/null) || true
  if [ -z "$gpcost" ]; then
    echo "60.000 cut-at-60s"
  elif ! grep -qE '^(\[|Mat\()' "$dir/gp.out"; then
    echo "60.000 failed"
  else
    awk '{ printf "%.3f ok\n", $1 }' <<<"$gpcost"
  fi
}
export -f run_gp

# One case: NAME|POLYNOMIAL, ROUNDS times pfac and gp in turn. Writes
# out/NAME/verdict as "NAME DEGREE SECONDS CERTIFICATE GP-SECONDS GP-STATUS",
# the medians; the certificate is the first round's unless a later one says
# otherwise (then that one, so that a difference shows).
run_case() {
  IFS='|' read -r name poly <<<"$1"
  local dir=$out/$name certificate= gpstatus=- r line times= gptimes=
  mkdir -p "$dir"
  for ((r = 1; r <= rounds; r++)); do
    line=$(run_pfac "$dir" "$poly")
    times+="${line%% *}"$'\n'
    [ -n "$certificate" ] && [ "$certificate" = "${line#* }" ] || certificate=${line#* }
    if [ -n "$peers" ] && [ "$gpstatus" != cut-at-60s ] && [ "$gpstatus" != failed ]; then
      line=$(run_gp "$dir" "$poly")
      gptimes+="${line%% *}"$'\n'
      gpstatus=${line#* }
    fi
  done
  local seconds gp=- degree
  seconds=$(printf '%s' "$times" | median_of)
  [ -z "$gptimes" ] || gp=$(printf '%s' "$gptimes" | median_of)
  degree=$(grep -o '[a-z]^[0-9]*' <<<"$poly" | tr -d 'a-z^' | sort -n | tail -n 1)
  echo "$name $degree $seconds $certificate $gp $gpstatus" >"$dir/verdict"
  echo "$name: $seconds s, $certificate; gp $gp s ($gpstatus)" >&2
}
export -f run_case

start=$(date +%s)
grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$' | xargs -d '\n' -P "$jobs" -I{} bash -c 'run_case "$1"' _ {}
total=$(($(date +%s) - start))

what=pfac
[ "$mode" = helper ] && what=pfac-exact
echo
echo "| case | degree | $what | certificate | gp | $what / gp | within max(1.5 gp, 0.05 s) |"
echo "|------|--------|------|-------------|----|------------|----------------------------|"
# In the corpus's order.
grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$' | cut -d'|' -f1 | while read -r name; do
  read -r _ degree seconds certificate gp gpstatus <"$out/$name/verdict"
  if [ "$gp" = - ]; then
    printf '| %s | %s | %.2f s | %s | - | - | - |\n' "$name" "$degree" "$seconds" "$certificate"
  else
    awk -v n="$name" -v d="$degree" -v s="$seconds" -v c="$certificate" -v g="$gp" -v st="$gpstatus" 'BEGIN {
      bound = 1.5 * g; if (bound < 0.05) bound = 0.05
      answered = c == "complete" || c == "not-complete" || c ~ /^ok/
      gptext = st == "ok" ? sprintf("%.2f s", g) : st
      printf "| %s | %s | %.2f s | %s | %s | %.2f | %s |\n", n, d, s, c, gptext, s / (g > 0.001 ? g : 0.001),
        answered && s <= bound ? "yes" : "no" }'
  fi
done
echo
cat "$out"/*/verdict | awk -v jobs="$jobs" -v total="$total" -v mode="$mode" -v rounds="$rounds" "$median_awk"'
  { n++; t[n] = $3; if ($3 > top) top = $3
    ok = $4 == "complete" || $4 == "not-complete" || $4 ~ /^ok/
    if (ok) answered++
    if ($5 != "-") { g++; gp[g] = $5; r[g] = $3 / ($5 > 0.001 ? $5 : 0.001)
                     bound = 1.5 * $5; if (bound < 0.05) bound = 0.05; if (ok && $3 <= bound) within++ } }
  END {
    printf "%d of %d %s; longest %.2f s, median %.2f s", answered, n,
      mode == "helper" ? "answered by the helper" : "certified (complete, or not complete with the complete line)",
      top, median(t, n)
    if (g) printf "; gp median %.2f s; median ratio %.2f; %d of %d within max(1.5 gp, 0.05 s)", median(gp, g), median(r, g), within, g
    printf "; medians of %d rounds, %d at a time, %d s in all.\n", rounds, jobs, total
  }'
