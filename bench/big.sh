#!/usr/bin/env bash
# Big polynomials: degrees up to the limit 4000 (bench/big_corpus.txt, made by
# bench/make_big_corpus.py): x^n ± 1, x^n ± y^n, trinomials x^2n ± x^n + 1,
# irreducible trinomials x^n - x - 1, products of sparse factors and powers of
# binomials. Each runs through pfac as the front end starts it (a fresh folder
# holding DXS.DAT, standard input at its end, the real clock and limits) to its
# certified answer, and through gp (factor(), capped at 60 s) in the same run;
# one line a case, a table with each time, the certificate and the ratio
# pfac / gp, and a summary with the median ratio and the cases that end within
# max(2 x gp, 0.5 s).
#
#   bench/big.sh [JOBS] [CAP_SECONDS] [CORPUS]
#   bench/big.sh --helper [JOBS] [CAP_SECONDS] [CORPUS]
#                               the helper pfac-exact alone, fed the polynomial
#                               as the engine feeds it, beside gp
#   PEERS= bench/big.sh         pfac alone, without gp
#   ENGINE=PATH bench/big.sh    another build of the engine (it starts the
#                               helper beside it)
#   HELPER=PATH bench/big.sh --helper   another build of the helper
#
# JOBS cases run side by side (1 by default: the times are the point); pfac is
# ended after CAP_SECONDS (300 by default) and listed as cut. gp counts as 60 s
# where it is cut at 60 s or fails (its stack overflows on some of these even
# with 2 GB). Each case's folder is kept under build/big/.
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

source bench/cases.sh
build_for_cases
engine=${ENGINE:-$root/build/bin/pfac-engine}
helper=${HELPER:-$root/build/bin/pfac-exact}
export mode engine helper measure=$root/build/bin/measure cap peers
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

# One case: NAME|POLYNOMIAL. Writes out/NAME/verdict as
# "NAME DEGREE SECONDS CERTIFICATE GP-SECONDS GP-STATUS".
run_case() {
  IFS='|' read -r name poly <<<"$1"
  local dir=$out/$name cost seconds certificate gp=- gpstatus=-
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
  seconds=$cap
  [ -z "$cost" ] || seconds=$(awk '{ printf "%.3f", $1 }' <<<"$cost")
  local degree
  degree=$(grep -o '[a-z]^[0-9]*' <<<"$poly" | tr -d 'a-z^' | sort -n | tail -n 1)
  if [ -n "$peers" ]; then
    local gpcost
    gp_request "$poly" >"$dir/gp.in"
    gpcost=$(timeout 60 "$measure" -o "$dir/gp.out" gp -q -f --default parisizemax=2000000000 "$dir/gp.in" \
      2>/dev/null) || true
    if [ -z "$gpcost" ]; then
      gp=60.000 gpstatus=cut-at-60s
    elif ! grep -qE '^(\[|Mat\()' "$dir/gp.out"; then
      gp=60.000 gpstatus=failed
    else
      gp=$(awk '{ printf "%.3f", $1 }' <<<"$gpcost") gpstatus=ok
    fi
  fi
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
echo "| case | degree | $what | certificate | gp | $what / gp | within max(2 gp, 0.5 s) |"
echo "|------|--------|------|-------------|----|------------|--------------------------|"
# In the corpus's order.
grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$' | cut -d'|' -f1 | while read -r name; do
  read -r _ degree seconds certificate gp gpstatus <"$out/$name/verdict"
  if [ "$gp" = - ]; then
    printf '| %s | %s | %.2f s | %s | - | - | - |\n' "$name" "$degree" "$seconds" "$certificate"
  else
    awk -v n="$name" -v d="$degree" -v s="$seconds" -v c="$certificate" -v g="$gp" -v st="$gpstatus" 'BEGIN {
      bound = 2 * g; if (bound < 0.5) bound = 0.5
      answered = c == "complete" || c == "not-complete" || c ~ /^ok/
      gptext = st == "ok" ? sprintf("%.2f s", g) : st
      printf "| %s | %s | %.2f s | %s | %s | %.2f | %s |\n", n, d, s, c, gptext, s / (g > 0.001 ? g : 0.001),
        answered && s <= bound ? "yes" : "no" }'
  fi
done
echo
cat "$out"/*/verdict | awk -v jobs="$jobs" -v total="$total" -v mode="$mode" "$median_awk"'
  { n++; t[n] = $3; if ($3 > top) top = $3
    ok = $4 == "complete" || $4 == "not-complete" || $4 ~ /^ok/
    if (ok) answered++
    if ($5 != "-") { g++; gp[g] = $5; r[g] = $3 / ($5 > 0.001 ? $5 : 0.001)
                     bound = 2 * $5; if (bound < 0.5) bound = 0.5; if (ok && $3 <= bound) within++ } }
  END {
    printf "%d of %d %s; longest %.2f s, median %.2f s", answered, n,
      mode == "helper" ? "answered by the helper" : "certified (complete, or not complete with the complete line)",
      top, median(t, n)
    if (g) printf "; gp median %.2f s; median ratio %.2f; %d of %d within max(2 gp, 0.5 s)", median(gp, g), median(r, g), within, g
    printf "; %d at a time, %d s in all.\n", jobs, total
  }'
