# Sourced from the repository's root by the benchmarks that run pfac case by
# case beside gp (bench/big.sh, bench/hard.sh): what they share.

# The dependencies (gp among them when $peers is set) and the programs the
# cases run, built in build/.
build_for_cases() {
  scripts/install-deps.sh ${peers:+pari-gp} >&2
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target pfac-engine pfac-exact measure >/dev/null
}

# The certificate in the jg.dat $1 of a finished run: the last line that
# begins with 验证 (or an internal error), as a word; none without one.
certificate_of() {
  local certificate=none
  if [ -f "$1" ]; then
    case $(tr -d '\r' <"$1" | grep -E '^(验证|内部错误)' | tail -n 1) in
      验证:\ 结果完整*) certificate=complete ;;
      验证:\ 结果不完整*) certificate=not-complete ;;
      验证:\ 未验证*) certificate=not-verified ;;
      内部错误*) certificate=internal-error ;;
    esac
  fi
  echo "$certificate"
}

# gp's input for the polynomial $1 in pfac's syntax: the products made explicit.
gp_request() {
  printf 'print(factor(%s))\n' "$(sed -E ':a; s/([0-9a-z])([a-z])/\1*\2/; ta' <<<"$1")"
}
# The median of the numbers on standard input, one a line.
median_of() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

export -f certificate_of gp_request median_of

# An awk function for the summaries: the median of list[1..n] (sorted in place).
median_awk='
  function median(list, n,   i, j, x) {
    for (i = 2; i <= n; i++) { x = list[i]; for (j = i - 1; j >= 1 && list[j] > x; j--) list[j + 1] = list[j]; list[j + 1] = x }
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
  }'
