#!/usr/bin/env bash
# The filter for scripts beside gp: pfac --factor --format plain on the 1,000
# textbook polynomials of bench/textbook_list.txt (made by
# bench/make_textbook_list.py), read from standard input by one process,
# against one gp process factoring the same list (factor() of each line,
# printed). Wall time of each, the median of 3 runs, the two run one after
# the other in each round, and the ratio pfac / gp.
#
#   bench/filter.sh [LIST]
set -euo pipefail
cd "$(dirname "$0")/.."
list=${1:-bench/textbook_list.txt}
peers=gp

source bench/cases.sh
scripts/install-deps.sh pari-gp >&2
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target pfac >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -v -e '^#' -e '^[[:space:]]*$' "$list" >"$work/list.txt"
while IFS= read -r line; do gp_request "$line"; done <"$work/list.txt" >"$work/gp.txt"
lines=$(wc -l <"$work/list.txt")

seconds() { date +%s.%N; }
pfac_times=()
gp_times=()
for round in 1 2 3; do
  start=$(seconds)
  (cd "$work" && "$OLDPWD/build/bin/pfac" --factor --format plain <list.txt >pfac.out)
  pfac_times+=("$(echo "$(seconds) - $start" | bc)")
  start=$(seconds)
  gp -q -f --default parisizemax=1G <"$work/gp.txt" >"$work/gp.out"
  gp_times+=("$(echo "$(seconds) - $start" | bc)")
done
answered=$(wc -l <"$work/pfac.out")
gp_answered=$(wc -l <"$work/gp.out")
printf '%s\n' "${pfac_times[@]}" | awk -v gp="$(printf '%s ' "${gp_times[@]}")" -v lines="$lines" \
  -v answered="$answered" -v gp_answered="$gp_answered" "$median_awk"'
  { p[NR] = $1 }
  END {
    n = split(gp, g, " ")
    printf "runs (s)      pfac --factor: %s %s %s   gp: %s %s %s\n", p[1], p[2], p[3], g[1], g[2], g[3]
    mp = median(p, NR); mg = median(g, n)
    printf "%d polynomials, %d answered by pfac, %d by gp\n", lines, answered, gp_answered
    printf "median of 3   pfac --factor %.3f s   gp %.3f s   ratio pfac / gp %.2f\n", mp, mg, mp / mg
  }'
