#!/usr/bin/env bash
# pfac against the tools people reach for to factor over the rationals: gp
# (PARI/GP), Maxima and SymPy, one process per polynomial, end to end.
#
#   bench/peers.sh [ROUNDS] [CORPUS]     timings and peak memory (3 rounds,
#                                        bench/course_corpus.txt by default)
#   bench/peers.sh --show [CORPUS]       every tool's answer, to check by eye
#                                        that each one really factors
#   PEERS="gp" bench/peers.sh            only some of the peers (gp maxima sympy)
#   ENGINE=PATH bench/peers.sh           another build of the engine, to compare
#
# Installs the peers from Debian packages when they are missing and builds pfac.
# pfac runs as the front end starts it: in a fresh folder holding DXS.DAT, with
# standard input at its end, so that the closing wait for a key returns at once.
# Each round runs every polynomial through every tool in turn, the tools'
# order turning from one polynomial to the next, so that a slow spell of the
# machine falls on all of them alike. The table gives, per tool, the median over
# the corpus of each polynomial's median time (wall clock and CPU), pfac's
# ratio to it, and the median and the largest peak resident memory. Every run
# goes through bench/measure.cpp, which starts the process and reads its cost
# from the kernel, so that each tool pays the same for being started.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

show=0
if [ "${1:-}" = "--show" ]; then
  show=1
  shift
fi
rounds=${1:-3}
corpus=${2:-bench/course_corpus.txt}
read -r -a peers <<<"${PEERS:-gp maxima sympy}"

scripts/install-deps.sh pari-gp maxima python3-sympy >&2
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target pfac-engine measure >/dev/null
engine=${ENGINE:-$root/build/bin/pfac-engine}
measure=$root/build/bin/measure
# SymPy from the Debian package, whatever python3 comes first on the PATH.
python=/usr/bin/python3

mapfile -t polys < <(grep -v '^#' "$corpus" | grep -v '^[[:space:]]*$')
[ ${#polys[@]} -gt 0 ] || { echo "no polynomials in $corpus" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The peers' syntax: an explicit "*" wherever pfac multiplies by juxtaposition
# (3x^2y -> 3*x^2*y, 1/2x -> 1/2*x).
explicit() { sed -E ':a; s/([0-9a-z])([a-z])/\1*\2/; ta' <<<"$1"; }

# One run of a tool on polynomial number $2 under the stopwatch: prints
# "wall-seconds cpu-seconds peak-kilobytes"; the tool's output goes to $3.
run_tool() {
  local tool=$1 i=$2 out=$3
  case $tool in
    pfac)
      # The fresh folder is made beforehand (prepare), outside the timing.
      "$measure" -C "$scratch/pfac.$i" -o "$out" "$engine" ;;
    gp)
      "$measure" -o "$out" gp -q -f "$scratch/gp.$i" ;;
    maxima)
      "$measure" -o "$out" maxima --very-quiet \
        --batch-string="display2d:false\$ print(factor(${explicit_polys[$i]}))\$" ;;
    sympy)
      "$measure" -o "$out" "$python" -c \
        'import sys; from sympy import factor, sympify; print(factor(sympify(sys.argv[1])))' \
        "${explicit_polys[$i]}" ;;
  esac
}

prepare() {
  local i=$1
  rm -rf "$scratch/pfac.$i"
  mkdir "$scratch/pfac.$i"
  printf '"%s"\r\n' "${polys[$i]}" >"$scratch/pfac.$i/DXS.DAT"
}

explicit_polys=()
for i in "${!polys[@]}"; do
  explicit_polys[i]=$(explicit "${polys[$i]}")
  printf 'print(factor(%s))\n' "${explicit_polys[$i]}" >"$scratch/gp.$i"
done
tools=(pfac "${peers[@]}")
for t in "${peers[@]}"; do
  case $t in gp | maxima | sympy) ;; *) echo "unknown peer: $t" >&2; exit 1 ;; esac
done

if [ $show -eq 1 ]; then
  for i in "${!polys[@]}"; do
    echo "== ${polys[$i]}"
    for t in "${tools[@]}"; do
      prepare "$i"
      run_tool "$t" "$i" "$scratch/out" >/dev/null
      if [ "$t" = pfac ]; then
        # The result line of jg.dat that closes the run (before its marks).
        answer=$(tr -d '\r' <"$scratch/pfac.$i/jg.dat" | grep -v '^=\.\.\.' | tail -n 1)
      else
        answer=$(grep -v '^[[:space:]]*$' "$scratch/out" | tail -n 1)
      fi
      printf '  %-7s %s\n' "$t" "$answer"
    done
  done
  exit 0
fi

# One line "tool polynomial wall cpu kilobytes" per run.
runs=$scratch/runs
: >"$runs"
n=${#tools[@]}
for ((r = 1; r <= rounds; r++)); do
  echo "round $r of $rounds" >&2
  for i in "${!polys[@]}"; do
    for ((j = 0; j < n; j++)); do
      t=${tools[$(((i + r + j) % n))]}
      prepare "$i"
      echo "$t $i $(run_tool "$t" "$i" "$scratch/out")" >>"$runs"
    done
  done
done

awk -v tools="${tools[*]}" -v count=${#polys[@]} -v rounds="$rounds" -v corpus="$corpus" '
  function median(list, n,   i, j, x) {
    for (i = 2; i <= n; i++) { x = list[i]; for (j = i - 1; j >= 1 && list[j] > x; j--) list[j + 1] = list[j]; list[j + 1] = x }
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
  }
  # The median over the corpus of each polynomial median of field f.
  function corpus_median(tool, f,   p, q, v, per) {
    for (p = 0; p < count; p++) {
      delete v
      for (q = 1; q <= k[tool, p]; q++) v[q] = value[tool, p, q, f]
      per[p + 1] = median(v, k[tool, p])
    }
    return median(per, count)
  }
  { q = ++k[$1, $2]; for (f = 3; f <= 5; f++) value[$1, $2, q, f] = $f
    if ($5 + 0 > top[$1] + 0) top[$1] = $5 }
  END {
    nt = split(tools, t, " ")
    for (a = 1; a <= nt; a++) {
      wall[a] = corpus_median(t[a], 3); cpu[a] = corpus_median(t[a], 4); mem[a] = corpus_median(t[a], 5)
    }
    printf "%d polynomials of %s, %d rounds, one process each\n\n", count, corpus, rounds
    printf "| tool   | pfac / tool, time | pfac / tool, CPU | median peak memory | largest peak memory |\n"
    printf "|--------|-------------------|------------------|--------------------|---------------------|\n"
    for (a = 1; a <= nt; a++)
      printf "| %-6s | %17.3f | %16.3f | %15.1f MB | %16.1f MB |\n", t[a], wall[1] / wall[a], cpu[1] / cpu[a], mem[a] / 1024, top[t[a]] / 1024
    printf "\nmedian time, wall and CPU (ms):"
    for (a = 1; a <= nt; a++) printf " %s %.2f / %.2f;", t[a], 1000 * wall[a], 1000 * cpu[a]
    printf "\n"
  }' "$runs"
