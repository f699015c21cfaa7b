// The filter for scripts: pfac --factor [--real] [--format text|plain|latex|json]
// [--time-limit S] [POLY ...] factors each argument, or with none each line of
// standard input (blank lines and lines beginning with '#' passed over), with
// the exact factoriser in this process: no engine run, no window, no Qt
// application, no lock, no file written. One line a polynomial, in input
// order: "POLY = FACTORISATION", each answer multiplied back before it is
// written; a line refused, or stopped by the size guard or the time limit,
// gets its reason on standard error with its line number, and the run goes on.
// Nothing here uses Qt, so that the fuzz target builds it without the front end.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/exact/rational_factor.h"
#include "frontend/input/typed_input.h"

namespace pfac::frontend {

inline constexpr char kFactorOption[] = "--factor";

enum class FilterFormat { kText, kPlain, kLatex, kJson };

struct FilterOptions {
  FilterFormat format = FilterFormat::kText;
  bool real = false;     // --real: over the reals, with square roots
  double timeLimit = 0;  // seconds a polynomial may take; 0 for no limit
  std::vector<std::string> polynomials;  // the arguments; none: standard input
};

// The options after --factor, or nullopt with the usage error in *why.
std::optional<FilterOptions> ReadFilterOptions(const std::vector<std::string>& arguments, std::string* why);

// How a value is factored: in this process, or under the time limit in a
// child that can be stopped. nullopt with the reason in *why.
using ValueFactoriser =
    std::function<std::optional<exact::RationalFactorisation>(const format::RationalPolynomial&, std::string* why)>;

// The exact factoriser in this process, or, with a time limit, in a fork of
// this process that is killed when the time is up.
ValueFactoriser FilterFactoriser(double timeLimit);

// What one polynomial gives: the line written, or the reason it has none.
struct FilterAnswer {
  std::optional<std::string> line;
  std::string reason;
};

// One typed polynomial factored and written in the format, over the reals
// when `real` is set.
FilterAnswer FactorTypedLine(std::string_view typed, FilterFormat format, Expander* expander,
                             const ValueFactoriser& factorise, bool real = false);

// The text of a line as the filter takes it: without a trailing carriage
// return and the blanks at its ends; empty for a line to pass over (blank, or
// beginning with '#').
std::string FilterLineText(std::string_view line);

// The filter over the polynomials of the options or, without any, over the
// lines of `in`: answers to `out`, reasons to `err`. The exit status: 0 when
// every polynomial was factored, 1 when some were not.
int RunFilter(const FilterOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

// pfac --factor ARGUMENTS: the exit status, 2 for a usage error.
int RunFactorCommand(const std::vector<std::string>& arguments);

}  // namespace pfac::frontend
