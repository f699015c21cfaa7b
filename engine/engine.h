// The factoring engine: one run over one polynomial, as a sequence of named
// steps over the shared tables and registers below.
//
// Every step is a member function without parameters. A step does its work and
// names the step that follows it (Go); the run loop (Run) then calls that step.
// Steps never call the step that follows them, so a search of millions of steps
// keeps a flat stack. Routines of the polynomial and ordering subsystems are
// called and return; a routine that ends the current path instead (a special
// form that restarts the preparation, an interruption of the search, a proof of
// irreducibility) names its continuation with Go and returns, and its caller
// returns at once when Diverted() says so.
//
// Numbers follow the engine's conventions: coefficients, exponents and counts
// are 32-bit floats holding integers (exact up to 16,777,216), indices and
// degrees 16-bit integers; float to integer conversions round halves to even
// and go through the checked helpers of numbers.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/exact/certificate.h"
#include "engine/exact/run_state.h"
#include "engine/numbers.h"
#include "engine/platform/clock.h"
#include "engine/platform/console.h"
#include "engine/platform/files.h"

namespace pfac {

namespace exact {
class ExactFactoriser;
}

using FloatTable = std::vector<float>;
using ShortTable = std::vector<int16_t>;
using TextTable = std::vector<std::string>;

// A table of floats with two indices, written Table[row][column].
class FloatGrid {
 public:
  void Create(int rows, int columns) {
    columns_ = columns;
    data_.assign(static_cast<size_t>(rows) * columns, 0.0f);
  }
  float* operator[](size_t row) { return data_.data() + row * columns_; }
  const float* operator[](size_t row) const { return data_.data() + row * columns_; }
  int Rows() const { return columns_ ? static_cast<int>(data_.size() / columns_) : 0; }
  int Columns() const { return columns_; }

 private:
  std::vector<float> data_;
  int columns_ = 0;
};

class Engine {
 public:
  using Step = void (Engine::*)();

  // The engine works in workFolder with the relative names DXS.DAT, DXS1.DAT,
  // jg.dat and the pending-factor files. With an exact factoriser, runs that
  // search long take its help and every result gets a certificate line; an
  // engine without one gives the search's results alone.
  Engine(Console& console, Clock& clock, std::filesystem::path workFolder = ".",
         exact::ExactFactoriser* exactFactoriser = nullptr);

  // Runs the whole job from the start screen to the closing lines; returns the
  // exit status of the program (0 for every orderly end).
  int Run();
  // Runs from another first step (tests start in the middle of the flow).
  int RunFrom(Step first);
  // Runs from first until the run loop is about to call stopAt (which is not
  // called); returns kStoppedBefore then, else what RunFrom returns.
  static constexpr int kStoppedBefore = -2;
  int RunUntil(Step first, Step stopAt);
  // The number of steps the last run took.
  long StepsTaken() const { return stepsTaken_; }
  // Replaces the interruption poll by nothing (benchmarks measure its cost).
  void DisablePoll() { pollTick_ = &neverTick_; }
  // Levels solved (calls of SolveLevel) since the engine was made.
  long LevelsSolved() const { return levelsSolved_; }

  // ---------------------------------------------------------------------
  // Engine start-up and main flow
  // ---------------------------------------------------------------------
  std::string PolynomialText;  // the polynomial as read; consumed by the normaliser

  void ShowBanner();           // start screen -> StartupPause
  void StartupPause();         // short pause -> ReadPolynomialFile
  void ReadPolynomialFile();   // DXS.DAT -> CheckEndCommand
  void CheckEndCommand();      // "end" stops here -> EchoInput
  void EchoInput();            // shows the text -> ProtectExponentLetters

  // ---------------------------------------------------------------------
  // Normaliser and DXS1.DAT
  // ---------------------------------------------------------------------
  void ProtectExponentLetters();  // marks exponents after d, D, e, E -> TokenisePolynomial
  void TokenisePolynomial();      // writes DXS1.DAT -> AllocateTables, or ReportInputError
  // Routines of TokenisePolynomial; false after a syntax error was reported.
  bool ReadCoefficient();
  bool WriteExponent(float v);
  void ReportInputError();  // "输入错误！" -> ClosingLines

  // ---------------------------------------------------------------------
  // Term tables (index 0 of the term and variable tables is unused)
  // ---------------------------------------------------------------------
  static constexpr int kMaxTerms = 30;
  static constexpr int kMaxVariables = 8;
  static constexpr int kVariableColumns = kMaxVariables + 1;  // 0..8
  static constexpr int kInitialDenseSize = 300;

  int16_t TermRows = 0;        // rows allocated (30), later a count of term rows
  FloatTable Numerator;        // [t] coefficient (integral after the echo)
  FloatTable Denominator;      // [t] written denominator; later scratch
  FloatGrid Exponent;          // [t][v] exponent of variable v in term t
  FloatTable TermCode;         // [t] substitution code of term t
  TextTable Letter;            // [v] variable name, lower case, in search order
  TextTable InputLetter;       // [v] names in order of first appearance
  FloatTable MinExponent;      // [v] exponent in the common monomial factor (InputLetter order)
  ShortTable MaxExponent;      // [v] highest exponent over all terms
  FloatTable TargetDegree;     // [v] degree in v of the polynomial being factored
  ShortTable VariableDegree;   // [v] degrees found by ComputeVariableDegrees
  ShortTable FirstFactorDegree;  // [v] degrees of the first factor of the last split test
  ShortTable Weight;           // [v] weight of v in the substitution code

  float TermCount = 0;
  float VariableCount = 0;
  float LoadedVariableCount = 0;  // distinct variables met while loading
  std::string FractionFlag;       // kFractionMark when a coefficient was written as a fraction
  static constexpr std::string_view kFractionMark = "f";  // the coefficients need a common denominator
  float CommonDenominator = 1;
  float Content = 0;

  void AllocateTables();   // creates every table -> LoadTermTables
  // Grows the term table (Numerator, Denominator, TermCode, Exponent) to at
  // least rows 0..rows - 1, keeping what it holds; routines that load a factor
  // into it call this before writing.
  void EnsureTermRows(int rows);
  void LoadTermTables();   // DXS1.DAT into the tables -> EchoPolynomial
  void EchoPolynomial();   // creates jg.dat, shows the polynomial -> MergeLikeTerms

  // ---------------------------------------------------------------------
  // Preparation and the degree limit
  // ---------------------------------------------------------------------
  static constexpr int kDegreeLimit = 4000;  // above it, "次数太高了!" (the search still runs)

  std::string StartTime;       // "hh:mm:ss" when the first search was prepared
  int16_t ImageDegree = 0;     // degree n of the image being searched
  float SumFactorsTried = 0;   // 1 once TryVariableSumFactors has run
  std::string KeyText;         // key last read by PollInterruption
  // What SubsetSearch enumerates subsets for.
  enum class SubsetUse { kVariableOrder = 1, kStoredFactors = 2 };
  SubsetUse SubsetMode = SubsetUse::kVariableOrder;  // set by ChooseVariableOrder and CombineStoredFactors
  int16_t SelectionTop = 0;    // n of the subset enumeration
  int16_t SelectionStart = 0;  // first subset size

  void MergeLikeTerms();        // -> CompactTerms
  void CompactTerms();          // -> CheckZero
  void CheckZero();             // "=0" -> EndRun, else RemoveMonomialFactor
  void RemoveMonomialFactor();  // -> ComputeContent
  void ComputeContent();        // -> CheckSingleTerm
  void CheckSingleTerm();       // one term -> EndRun, else PrepareSearch
  void PrepareSearch();         // start time -> RestartPreparation
  void RestartPreparation();    // maxima, absent variables -> ResumePreparation
  void ResumePreparation();     // search start values, variable order -> ApplyVariableOrder
  void ApplyVariableOrder();    // -> CheckDegree
  void CheckDegree();           // -> AllocateSearchTables

  // ---------------------------------------------------------------------
  // Dense vectors and the factor store
  // ---------------------------------------------------------------------
  FloatTable Image;        // [i] a_i, coefficient of t^(CodeOffset + i)
  FloatTable PassImage;    // [i] the image as the current pass began
  FloatTable Trial;        // [i] g_i, the trial factor
  FloatTable Cofactor;     // [i] h_i, quotient, cofactor, running product
  FloatTable Scratch;      // product buffer; vector to unpack
  FloatTable FactorStore;  // stored factors, one after the other
  FloatTable Snapshot;     // saved search state between degrees

  int16_t PassDegree = 0;
  int16_t TrialDegree = 0;     // k
  int16_t CofactorDegree = 0;
  int16_t FirstDegree = 0;
  float SecondDegree = 0;
  float QuotientTop = 0;       // degree of the wanted quotient minus one
  float ExactTop = 0;          // degree of ExactQuotient's quotient minus one
  int16_t StoredCount = 0;     // factors in the store
  float StoreFill = 0;         // coefficients held in the store
  FloatTable FactorEnd;        // [k] StoreFill right after factor k was stored
  FloatTable FactorDegree;     // [k] degree of stored factor k

  void DivideFromLow();           // Cofactor := PassImage / Trial, from the constant up
  void ExactQuotient();           // Trial := PassImage / Cofactor
  void MultiplyByStoredFactor();  // Cofactor := Cofactor * stored factor at position SelectionPosition
  void StoreFactor();             // appends Trial[0..TrialDegree]
  // Sizes FactorStore, FactorEnd, FactorDegree and the selection tables by
  // ImageDegree and empties the store; the search calls it when it allocates.
  void AllocateStoreTables();
  void RemoveNewestFactor();
  void EmptyStore();

  // ---------------------------------------------------------------------
  // Candidate check and mapping back to several variables
  // ---------------------------------------------------------------------
  float CodeOffset = 0;      // code of index 0 of Image and PassImage
  int16_t DenseOffset = 0;   // code of index 0 of the vector unpacked or printed
  int16_t DenseTop = 0;      // highest index of that vector
  int16_t FirstOffset = 0;   // code offset of the first factor of the last split test
  float SplitResult = 0;     // one of the four values below
  // The outcome of the last candidate check (or special form) of the run.
  static constexpr float kNothingTested = 0;  // no candidate or form checked yet: the report is still to open
  static constexpr float kNotAFactor = 1;     // the candidate does not divide the image; the search goes on
  static constexpr float kFactorStored = 2;   // it divides, but maps back to no factor in the variables yet
  static constexpr float kSplitFound = 3;     // Image holds the cofactor: the split is reported
  int16_t LateMode = 0;      // 1 once the search looks only at the top degree

  void CheckAndSplitFactor();
  void CheckAndSplitMirrored();  // the same with Trial and Cofactor exchanged
  void FindKroneckerSplit();
  void TryKroneckerOffset(int s);
  void UnpackDenseToTerms();
  void ComputeVariableDegrees();
  void SetTargetDegrees();
  void DropAbsentVariables();
  void TryVariableSumFactors();

  // ---------------------------------------------------------------------
  // Result text writers
  // ---------------------------------------------------------------------
  std::string SignText;      // "-" when the first pass negated the polynomial
  float FileEcho = 0;        // 0: PrintDenseFactor writes to jg.dat as well
  int16_t SecondPass = 0;    // 0 on the first pass of a run, then 1
  int16_t MonomialCode = 0;  // code handed to WriteMonomialCode (relative to CodeOffset)
  int16_t LongDegree = 0;    // degrees of the two factors of WriteExpandedProduct
  int16_t ShortDegree = 0;

  void PrintTermTable();
  void PrintCommonFactor();
  // The same on the console only: a form found on a later pass, whose result
  // line in jg.dat already holds the common factor.
  void PrintCommonFactorOnConsole();
  void PrintDenseFactor();
  void WriteMonomialCode();
  void WriteExpandedProductCofactorFirst();  // L = Cofactor, S = Trial
  void WriteExpandedProductTrialFirst();     // L = Trial, S = Cofactor
  void BeginSpecialLine();

  // ---------------------------------------------------------------------
  // Square and cube forms
  // ---------------------------------------------------------------------
  float PendingCount = 0;   // pending-factor files written in this run

  // Both continue at RestartPreparation when a form fits, else return.
  void FactorSquareTrinomial();
  void FactorSpecialBinomial();

  // ---------------------------------------------------------------------
  // Variable order and stored-factor combinations
  // ---------------------------------------------------------------------
  int16_t SubsetSize = 0;         // k
  FloatTable SelectionItem;       // [j] item numbers
  ShortTable SelectionIndex;      // [c] current subset
  ShortTable SelectionLimit;      // [c] largest value of position c
  int16_t SelectionPosition = 0;  // the position c handed to MultiplyByStoredFactor
  int16_t SubsetCount = 0;        // C(n, k)
  float OrderCount = 0;           // k!
  FloatTable CodeOrder;           // [b] the variable at position b of the order the term codes are computed for
  float BestSpread = 0;           // the smallest spread of the codes found so far
  FloatTable BestOrder;           // [b] the order of that spread
  FloatTable BestWeight;          // [b] its weights
  std::vector<std::vector<float>> Permutations;  // every order of 1..k, in enumeration order

  void SubsetSearch();
  void ChooseVariableOrder();   // SubsetSearch for kVariableOrder
  void CombineStoredFactors();  // SubsetSearch for kStoredFactors
  void Binomial();
  void GeneratePermutations();
  void EvaluateAllOrders();
  void EvaluateOrder();
  void ComputeTermCodes();

  // ---------------------------------------------------------------------
  // Factor search
  // ---------------------------------------------------------------------
  // A candidate is rejected as soon as a value of its trial division passes
  // this magnitude, which keeps every sum of products well inside the exact
  // range of a 32-bit float.
  static constexpr float kDivisionValueLimit = 3000000.0f;

  // [i] B_i. 32-bit rather than 16: the top level is bounded by |a_n|, which
  // may be any coefficient up to 16,777,216.
  std::vector<int32_t> LevelBound;
  ShortTable WalkerSide;        // [i] the walker that gave level i its solution, one of:
  static constexpr int16_t kWalkerUp = 2;    // the first solution or the upward walker's: try below it next
  static constexpr int16_t kWalkerDown = 1;  // the downward walker's: try above the first solution next
  FloatTable UpTrial, UpCofactor, DownTrial, DownCofactor;
  ShortTable SnapWalkerSide;
  FloatTable SnapUpTrial, SnapUpCofactor, SnapDownTrial, SnapDownCofactor;
  FloatTable PairTrialConst;     // [p] g0 of the constant pairs, decreasing
  FloatTable PairCofactorConst;  // [p] h0 = a0 / g0
  int16_t PairCount = 0;         // number of pairs + 1
  int16_t PairIndex = 0;
  float PairGcd = 1;
  float TrialStep = 0;
  float CofactorStep = 0;

  int16_t StartDegree = 0;
  int16_t ResumeDegree = 1;
  int16_t MaxTrialDegree = 0;
  int16_t Level = 0;
  float CoefficientBound = 0;         // B
  float InitialCoefficientBound = 0;
  float RetryBound = 0;
  float CofactorBound = 0;            // H
  float CofactorBoundCap = 0;
  float LargestCoefficient = 0;       // L
  float LeadMagnitude = 0;            // |a_n|
  int32_t TopBound = 0;           // max(|a_n|, B); 32-bit for the same reason as LevelBound
  int16_t SnapshotTaken = 0;
  int16_t SnapshotPair = 0;
  int16_t SavedTrialDegree = 0;
  int16_t MirrorUsed = 0;
  float SignFactor = 1;
  std::string RetryMark;              // kRetryAsked, then kRetryTaken once the retry skipped a reduction
  static constexpr std::string_view kRetryAsked = "y";  // (also Answer) the user asked for a retry
  static constexpr std::string_view kRetryTaken = "n";  // the retry's bounds are in place: reduce again later

  void AllocateSearchTables();
  void BuildImage();
  void NormaliseSign();
  void OpenReport();
  void TrySpecialForms();
  void PreCheckSumFactors();
  void StartPass();
  void ComputeSearchBounds();
  void ApplyRetryBounds();
  void PrepareDegreeBounds();
  void ReduceBound();
  void ListConstantPairs();
  void SearchDegrees();
  void EnterDegree();  // the work at the start of each degree of the loop
  void SolveLevel();
  void Advance();
  void NextSolution();
  void Backtrack();
  void NextPair();
  void CandidateComplete();
  void VerifyCandidate();
  void MirrorCheck();
  void HandleOutcome();
  void TakeSnapshot();
  void RestoreSnapshot();
  // Tables of the search sized for an image of degree n (grown, never shrunk,
  // on later passes).
  void SizeSearchTables(int n);
  // factor[0..k] times quotient[0..n-k] against Image[0..n] in exact integer
  // arithmetic: the last guard before a candidate is accepted, so that a float
  // rounding can never turn a non-factor into a reported one. The division
  // from the low end has matched the coefficients up to n-k and the leading
  // one; the candidate check matches those above n-k. With exact floats the
  // guard finds what they find; a difference below means a float lied.
  enum class ProductCheck { kExact, kUpperPartDiffers, kLowerPartDiffers };
  ProductCheck CheckProduct(const FloatTable& factor, int k, const FloatTable& quotient) const;
  bool DivideImageFromLow(const FloatTable& factor, FloatTable& quotient, float lead);
  bool HandOnCandidate(const FloatTable& factor, const FloatTable& quotient, Step check);
  // Takes the solution just found at the current level: with g0 = 1 the top
  // coefficient also stays within |a_n|.
  void TakeSolution();

  // ---------------------------------------------------------------------
  // Running status, time limits and interruption
  // ---------------------------------------------------------------------
  float TimeLimit = 0;          // minutes: 7 on the first pass, 1 later
  float StartMinute = 0;        // minute field when the search clock started
  std::string AbortMark;        // kStopMark after the X key or the time limit
  static constexpr std::string_view kStopMark = "x";  // (also ResultAbortMark, KeyText) a search was stopped
  std::string ResultAbortMark;  // kStopMark once any search of the run was stopped

  void ShowRunningLine();
  void ShowWaitingMessageBeforeLoop();  // first form, StartDegree > 9
  void ShowWaitingMessageAtNine();      // second form, degree 9 reached
  void StartSearchClock();
  bool ElapsedBeyond(float minutes);
  // Runs at every level of the search and at every complete candidate: while
  // the clock's tick is down (or, on a clock without a tick, between every so
  // many calls) it costs a load and a branch; then it looks for the time limit
  // and the X key, which continue at EndOfSearch.
  void PollInterruption() {
    if (pollTick_) {
      if (!pollTick_->load(std::memory_order_relaxed)) return;
      pollTick_->store(false, std::memory_order_relaxed);
    } else if (--pollCountdown_ > 0) {
      return;
    } else {
      pollCountdown_ = kPollStride;
    }
    LookForInterruption();
  }
  void LookForInterruption();

  // ---------------------------------------------------------------------
  // Report of a split, end of search and end of run
  // ---------------------------------------------------------------------
  float ReportStarted = 0;
  float ReportPending = 1;
  int16_t FactorSign = 1;
  int16_t AccumulatedSign = 1;
  std::string Answer;
  float PendingRead = 0;

  void ReportFactorisation();
  void ContinueAfterSplit();
  void EndOfSearch();
  void OfferRetry();
  void RetryStep();
  void FinalOutput();
  void LoadPendingFactor();
  void FinishRun();
  void CloseResultFile();
  void EndRun();
  void ClosingLines();

  // ---------------------------------------------------------------------
  // Eisenstein test
  // ---------------------------------------------------------------------
  void EisensteinTest();  // may continue at CloseResultFile or FinalOutput

  // ---------------------------------------------------------------------
  // Showing the results
  // ---------------------------------------------------------------------
  std::string EndTime;

  void ShowResults();

  // ---------------------------------------------------------------------
  // The exact factoriser beside the search
  // ---------------------------------------------------------------------
  exact::RunState Exact;  // what the run knows of its polynomial's exact factorisation

  void TakeExactInput();            // the prepared polynomial, at the first search
  void StartExactFactoriser();      // once a run, with Exact.Input
  bool ExactReady();                // the factoriser has its answer
  // Part of the interruption poll: starts the factoriser, and with its result
  // continues at EndSearchProvedIrreducible or HandOverExactFactor.
  void LookForExactResult();
  // The polynomial of the current pass against the exact factorisation
  // (which must be ready).
  exact::Known ClassifyCurrentPolynomial();
  // The polynomial of the current pass is irreducible by a cheap test or by
  // the exact factorisation already at hand (the factoriser is not started
  // for this); false for a run without the factoriser.
  bool UnsplitKnownIrreducible();
  exact::LetterPoly CurrentPolynomial() const;
  // The exponents of the monomial of a code under the current variable order
  // and weights, by the letters of the variables.
  exact::Exponents ExponentsOfCode(int code) const;
  bool PrepareHandOver();             // the factor to hand over and its quotient
  void EndSearchProvedIrreducible();  // -> EndOfSearch, as after a search of every degree
  void HandOverExactFactor();         // the exact factor to the candidate check -> HandleOutcome
  bool ExactWaitOver();               // one round of a wait after a search
  void ExamineSearchEnd();            // -> WaitAtSearchEnd or EndOfSearch
  void WaitAtSearchEnd();             // -> itself, HandOverExactFactor or EndOfSearch
  void CertifyResult();               // -> WaitForExactResult or WriteCertificate
  void WaitForExactResult();          // -> itself, WriteCertificate
  void WriteCertificate();            // -> CloseResultFile
  void CertifyShortResult();          // "=0" and single-term results, at EndRun
  // jg.dat as written so far, and whether its last line is still open.
  std::string ResultSoFar(bool* lineOpen);
  // What the certificate names of the run.
  exact::RunCircumstances CertificateCircumstances();
  // The letters in the order the user wrote them.
  std::string InputOrder() const;

  // ---------------------------------------------------------------------
  // Files, by the numbers the engine gives them
  // ---------------------------------------------------------------------
  OutputFile WorkOutput;     // 1: DXS1.DAT written
  InputFile WorkInput;       // 1: DXS.DAT and DXS1.DAT read
  OutputFile ResultFile;     // 3: jg.dat written
  InputFile ResultInput;     // 3: jg.dat read back
  OutputFile PendingOutput;  // 4: a pending-factor file written
  InputFile PendingInput;    // 4: a pending-factor file read
  void CloseAllFiles();
  std::filesystem::path PathOf(std::string_view name) const { return workFolder_ / std::string(name); }
  // "gsys" and the number text of n ("gsys 1").
  static std::string PendingFileName(float n) { return "gsys" + NumberText(n); }

  // ---------------------------------------------------------------------
  // Output pieces: the console, the result file, or both
  // ---------------------------------------------------------------------
  void ConsoleText(std::string_view text) { console_.Write(text); }
  void ConsoleNumber(float v) { console_.Write(NumberItem(v)); }  // a number item
  void ConsoleEnd() { console_.EndLine(); }
  void ResultText(std::string_view text) { ResultFile.Write(text); }
  void ResultNumberText(float v) { ResultFile.Write(NumberText(v)); }
  void ResultNumberItem(float v) { ResultFile.Write(NumberItem(v)); }
  void ResultEnd() { ResultFile.EndLine(); }
  void BothText(std::string_view text) {
    ConsoleText(text);
    ResultText(text);
  }

  // Ends the run with a message on its own line and the closing lines. When
  // jg.dat is open it gets fileLine (ASCII) as its last line, so that nobody
  // takes what stands before it for a finished result.
  void StopRun(std::string_view message, std::string_view fileLine = "");

  Console& console() { return console_; }
  Clock& clock() { return clock_; }
  exact::ExactFactoriser* exactFactoriser() { return exact_; }

  // Continuation: the step that the run loop calls next.
  void Go(Step next) { next_ = next; }
  // True once a routine has named a continuation: its caller returns at once.
  bool Diverted() const { return next_ != nullptr; }
  Step NextStep() const { return next_; }

 private:
  Console& console_;
  Clock& clock_;
  std::filesystem::path workFolder_;
  exact::ExactFactoriser* exact_ = nullptr;  // none: the search's results alone
  Step next_ = nullptr;
  Step stopAt_ = nullptr;
  bool finished_ = false;
  long stepsTaken_ = 0;
  long levelsSolved_ = 0;
  // On a clock without a tick the poll looks at the clock every so many calls.
  static constexpr int kPollStride = 64;
  int pollCountdown_ = 1;
  std::atomic<bool>* pollTick_ = nullptr;  // the clock's tick, when it has one
  std::atomic<bool> neverTick_{false};     // a tick that never comes
  std::string stopMessage_;
  std::string stopFileLine_;
  size_t textFront_ = 0;  // how much of PolynomialText the normaliser has consumed

  void StopWithMessage();  // the step StopRun continues at
};

}  // namespace pfac
