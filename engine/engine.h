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
// returns at once when Diverted() says so. Two companions own their state
// and are called the same way: the exact companion (Exact), beside the
// search, and the result file (Result), jg.dat as text and as values.
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

#include "engine/exact/companion.h"
#include "engine/numbers.h"
#include "engine/platform/clock.h"
#include "engine/platform/console.h"
#include "engine/platform/files.h"
#include "engine/result_file.h"
#include "engine/tables.h"

namespace pfac {

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

  // =====================================================================
  // The state, part by part
  // =====================================================================
  // Index 0 of the term and variable tables is unused: term t and variable v
  // count from 1. Each part says which steps write it and which read it; the
  // tables of the input live for the run, the registers of the search and
  // of the polynomial routines for one pass.

  static constexpr int kMaxTerms = 30;
  static constexpr int kMaxVariables = 8;
  static constexpr int kVariableColumns = kMaxVariables + 1;  // 0..8
  static constexpr int kInitialDenseSize = 300;
  static constexpr std::string_view kFractionMark = "f";  // Terms.FractionFlag: the coefficients need a common denominator

  // ---------------------------------------------------------------------
  // Terms: the term and variable tables, the shared input of every
  // subsystem. AllocateTables creates them and LoadTermTables fills them from
  // DXS1.DAT; EchoPolynomial makes the coefficients integral; the preparation
  // (MergeLikeTerms .. ApplyVariableOrder) merges, compacts, takes out the
  // monomial factor and the content, drops absent variables and renumbers the
  // columns in the chosen order. BuildImage recreates the term rows by the
  // image's degree; from then on PrintDenseFactor and UnpackDenseToTerms load
  // each printed or unpacked factor into them, the forms and LoadPendingFactor
  // the polynomial of the next search. The variable order (ComputeTermCodes)
  // writes TermCode and Weight; the writers, the search and the split test
  // read the tables, and the exact companion through ExactTables.
  // ---------------------------------------------------------------------
  struct TermTables {
    float TermCount = 0;          // terms of the polynomial being prepared or searched
    int16_t TermRows = 0;         // rows loaded by the last printed or unpacked factor
    FloatTable Numerator;         // [t] coefficient (integral after the echo)
    FloatTable Denominator;       // [t] denominator as written (1 for an integer)
    FloatGrid Exponent;           // [t][v] exponent of variable v in term t
    FloatTable TermCode;          // [t] substitution code of term t under the variable order

    float VariableCount = 0;        // variables of the polynomial being searched
    float LoadedVariableCount = 0;  // distinct variables met while loading (InputLetter's count)
    TextTable Letter;               // [v] variable name, lower case, in search order
    TextTable InputLetter;          // [v] variable names in order of first appearance
    FloatTable MinExponent;         // [v] exponent in the common monomial factor (InputLetter order)
    ShortTable MaxExponent;         // [v] highest exponent over all terms
    FloatTable TargetDegree;        // [v] degree in v of the polynomial being factored
    ShortTable Weight;              // [v] weight of v in the substitution code

    std::string FractionFlag;     // kFractionMark when a coefficient was written as a fraction
    float CommonDenominator = 1;  // least common multiple of the denominators, reduced with Content
    float Content = 0;            // integer content taken out of the coefficients
  };
  TermTables Terms;

  // ---------------------------------------------------------------------
  // Dense: the polynomial of the current pass as dense vectors in one
  // indeterminate (index i standing for the code CodeOffset + i), and the
  // store of trial factors. BuildImage and NormaliseSign lay out Image and
  // PassImage; the search writes Trial and Cofactor level by level; the
  // candidate check and the arithmetic routines (DivideFromLow,
  // ExactQuotient, MultiplyByStoredFactor, StoreFactor) divide, multiply and
  // store; ReportFactorisation makes the cofactor the next pass's PassImage;
  // the writers print Cofactor, the report Trial and Cofactor. Created by
  // AllocateTables, sized by SizeSearchTables.
  // ---------------------------------------------------------------------
  struct DenseVectors {
    FloatTable Image;      // [i] a_i, the image still to factor
    FloatTable PassImage;  // [i] the image as the current pass began; the cofactor after a split
    FloatTable Trial;      // [i] g_i, the trial factor; a quotient of ExactQuotient
    FloatTable Cofactor;   // [i] h_i, the cofactor; a quotient, a product, the vector printed
    FloatTable Scratch;    // [i] the vector UnpackDenseToTerms reads

    int16_t ImageDegree = 0;     // n, the degree of Image
    int16_t PassDegree = 0;      // the degree of PassImage
    int16_t TrialDegree = 0;     // k, the degree of the trial factor
    int16_t CofactorDegree = 0;  // the degree of Cofactor as a product or divisor
    int16_t FirstDegree = 0;     // the degree of the first factor (Cofactor) of a split test
    float SecondDegree = 0;      // the degree of the second factor (Trial) of a split test
    float QuotientTop = 0;       // DivideFromLow's quotient degree minus one
    float ExactTop = 0;          // ExactQuotient's quotient degree minus one

    FloatTable FactorStore;   // the stored factors' coefficients, one factor after the other
    int16_t StoredCount = 0;  // factors in the store
    float StoreFill = 0;      // coefficients held in the store
    FloatTable FactorEnd;     // [j] StoreFill right after factor j was stored
    FloatTable FactorDegree;  // [j] degree of stored factor j
  };
  DenseVectors Dense;

  // The outcome of the last candidate check (or special form) of the run.
  enum SplitOutcome {
    kNothingTested = 0,  // no candidate or form checked yet: the report is still to open
    kNotAFactor = 1,     // the candidate does not divide the image; the search goes on
    kFactorStored = 2,   // it divides, but maps back to no factor in the variables yet
    kSplitFound = 3,     // Image holds the cofactor: the split is reported
  };

  // ---------------------------------------------------------------------
  // Split: the substitution codes of the dense vectors and the test that maps
  // a factor of the image back to the variables. BuildImage sets the offsets;
  // CheckAndSplitFactor, FindKroneckerSplit and TryVariableSumFactors write
  // the outcome, the offset of the split and the degrees (HandOnCandidate
  // the outcome of a candidate whose floats lied, the forms that of a form
  // that fits); the report, ContinueAfterSplit, EndOfSearch and FinalOutput
  // set DenseOffset and DenseTop for each factor they print, which the
  // writers and UnpackDenseToTerms read.
  // ---------------------------------------------------------------------
  struct SplitTest {
    float CodeOffset = 0;           // code of index 0 of Image and PassImage
    int16_t DenseOffset = 0;        // code of index 0 of the vector printed or unpacked
    int16_t DenseTop = 0;           // highest index of that vector
    int16_t FirstOffset = 0;        // code offset of the first factor of the last split test
    ShortTable VariableDegree;      // [v] degrees of the factor last printed or unpacked
    ShortTable FirstFactorDegree;   // [v] degrees of the first factor of the last split test
    SplitOutcome SplitResult = kNothingTested;  // the outcome of the last candidate check
  };
  SplitTest Split;

  // ---------------------------------------------------------------------
  // Pass: where the run stands between its passes. The report and the forms
  // set SecondPass once a first factor is split off; EnterDegree sets
  // LateMode at the late switch; the preparation and HandleOutcome set
  // ResumeDegree. The search, the writers, the candidate check, the report
  // and the certificate read them.
  // ---------------------------------------------------------------------
  struct PassRegisters {
    int16_t SecondPass = 0;    // 0 on the first pass of a run, then 1
    int16_t LateMode = 0;      // 1 once the search looks only at the top degree (for the rest of the run)
    int16_t ResumeDegree = 1;  // the degree the next pass starts at; a stored factor's degree
  };
  PassRegisters Pass;

  // The side of level i's solution line that its current solution came from.
  static constexpr int16_t kWalkerUp = 2;    // the first solution or the upward walker's: try below it next
  static constexpr int16_t kWalkerDown = 1;  // the downward walker's: try above the first solution next
  // Search.RetryMark, Report.Answer:
  static constexpr std::string_view kRetryAsked = "y";  // the user asked for a retry
  static constexpr std::string_view kRetryTaken = "n";  // the retry's bounds are in place: reduce again later

  // ---------------------------------------------------------------------
  // Search: the registers that only the factor search uses, for one pass.
  // ComputeSearchBounds, ApplyRetryBounds, PrepareDegreeBounds and
  // EnterDegree set the bounds; ListConstantPairs the pairs; the walk
  // (SolveLevel, NextSolution, Backtrack, NextPair, CandidateComplete,
  // VerifyCandidate, MirrorCheck, HandOnCandidate, HandleOutcome) the level,
  // the pair, the walkers and the candidate's registers, as does
  // HandOverExactFactor for the factor it hands over; the end of a search
  // and its retries (ContinueAfterSplit, EndOfSearch, OfferRetry, RetryStep)
  // move B, H, the start degree and RetryMark; ResumePreparation clears B and
  // H, PrepareSearch SumFactorsTried. SizeSearchTables sizes the tables.
  // ---------------------------------------------------------------------
  struct SearchState {
    int16_t StartDegree = 0;     // the first degree of the degree loop
    int16_t MaxTrialDegree = 0;  // n / 2, the last degree
    int16_t Level = 0;           // the level (coefficient index) being solved
    int16_t SavedTrialDegree = 0;  // k while a late-mode candidate is verified at a lower degree

    float CoefficientBound = 0;         // B, the bound of the trial factor's inner coefficients
    float InitialCoefficientBound = 0;  // B as first computed for the polynomial
    float RetryBound = 0;               // B of the last retry asked for; 0 when none
    float CofactorBound = 0;            // H, the bound of the cofactor's coefficients
    float CofactorBoundCap = 0;         // max(L, 3), the cap of H from degree 9 on
    float LargestCoefficient = 0;       // L, the largest |a_i| but the constant's
    float LeadMagnitude = 0;            // |a_n|
    // 32-bit rather than 16: the top level is bounded by |a_n|, which may be
    // any coefficient up to 16,777,216.
    int32_t TopBound = 0;               // max(|a_n|, B), the bound of the top level below the last degree
    std::vector<int32_t> LevelBound;    // [i] B_i, the bound of g_i

    FloatTable PairTrialConst;     // [p] g0 of the constant pairs, decreasing
    FloatTable PairCofactorConst;  // [p] h0 = a0 / g0
    int16_t PairCount = 0;         // number of pairs + 1
    int16_t PairIndex = 0;         // the pair in use
    float PairGcd = 1;             // gcd(g0, |h0|)
    float TrialStep = 0;           // g0 / PairGcd: the step of g along a solution line
    float CofactorStep = 0;        // h0 / PairGcd: the step of h, against g's

    ShortTable WalkerSide;    // [i] kWalkerUp or kWalkerDown: where level i's solution came from
    FloatTable UpTrial;       // [i] g of the upward walker of level i
    FloatTable UpCofactor;    // [i] h of the upward walker
    FloatTable DownTrial;     // [i] g of the downward walker
    FloatTable DownCofactor;  // [i] h of the downward walker

    int16_t SnapshotTaken = 0;   // 1 once the snapshot of the current degree is taken
    int16_t MirrorUsed = 0;      // 1 when the candidate in hand came through the mirrored check
    int16_t ValueLimitPassed = 0;  // 1 once a trial division of the pass passed its value limit (DivideImageFromLow); HandOnCandidate reads it
    float SumFactorsTried = 0;   // 1 once TryVariableSumFactors has run for the polynomial
    std::string RetryMark;       // kRetryAsked after a retry was asked for; kRetryTaken once it skipped a reduction
  };
  SearchState Search;

  // The search as it stood at the first complete candidate of the degree:
  // TakeSnapshot copies Search and the candidate's low parts, RestoreSnapshot
  // puts them back for the next degree. Between the two only the walk moves
  // (the level, the pair, the walkers, the candidate): the bounds and the
  // pairs are the same, so the copy restores the walk and nothing else.
  struct SearchSnapshot {
    SearchState Search;   // Search as it stood
    FloatTable Trial;     // [0..k] g_0 .. g_k
    FloatTable Cofactor;  // [0..k] h_0 .. h_k
  };
  SearchSnapshot Snapshot;

  static constexpr std::string_view kStopMark = "x";  // Status.AbortMark, ResultAbortMark, KeyText: a search was stopped

  // ---------------------------------------------------------------------
  // Status: the running status of a search. ShowRunningLine sets the time
  // limit, StartSearchClock the clock; LookForInterruption (through
  // PollInterruption) reads them and sets the marks on the X key or the time
  // limit; EndOfSearch, RetryStep, FinalOutput, EndSearchProvedIrreducible and
  // RestartPreparation clear them; FinishRun writes "=...." by
  // ResultAbortMark. KeyText is written and never read.
  // ---------------------------------------------------------------------
  struct SearchStatus {
    float TimeLimit = 0;          // minutes: 7 on the first pass, 1 later
    float StartMinute = 0;        // the minute field when the search clock started
    std::string AbortMark;        // kStopMark after the X key or the time limit, until the retry is decided
    std::string ResultAbortMark;  // kStopMark once any search of the run was stopped
    std::string KeyText;          // the key last read by the poll (kStopMark for x or X)
  };
  SearchStatus Status;

  // ---------------------------------------------------------------------
  // Report: the result lines of the run. NormaliseSign sets SignText and
  // SignFactor, the forms SignFactor, PendingCount and ReportStarted;
  // ReportFactorisation the signs of the factor pairs, ReportStarted,
  // ReportPending and the degrees of the expanded product, which writes the
  // monomial codes; OpenReport, the report and the end of the search set
  // FileEcho; OfferRetry and EndOfSearch Answer; PrepareSearch StartTime;
  // ShowResults EndTime. The writers read the echo, sign and degree
  // registers; FinalOutput and LoadPendingFactor the pending counts;
  // ShowResults ReportPending and StartTime.
  // ---------------------------------------------------------------------
  struct ReportState {
    std::string SignText;       // "-" when the first pass negated the polynomial
    float SignFactor = 1;       // -1 while a two- or three-term polynomial is held negated for the forms
    int16_t FactorSign = 1;     // -1 when the factor pair being printed is negated
    int16_t AccumulatedSign = 1;  // the product of the FactorSigns, applied to the last factor
    float ReportStarted = 0;    // 1 once the result line of the run is open
    float ReportPending = 1;    // 0 once ReportFactorisation wrote its first lines
    float FileEcho = 0;         // 0: PrintDenseFactor writes to jg.dat as well as the console
    int16_t MonomialCode = 0;   // the code handed to WriteMonomialCode (relative to CodeOffset)
    int16_t LongDegree = 0;     // degree of the longer factor of WriteExpandedProduct
    int16_t ShortDegree = 0;    // degree of the shorter one
    float PendingCount = 0;     // pending-factor files written in this run
    float PendingRead = 0;      // pending-factor files read back
    std::string Answer;         // the key of the y/n question (kRetryAsked after a yes)
    std::string StartTime;      // "hh:mm:ss" when the first search was prepared
    std::string EndTime;        // "hh:mm:ss" when the results were shown
  };
  ReportState Report;

  // What SubsetSearch enumerates subsets for.
  enum class SubsetUse { kVariableOrder = 1, kStoredFactors = 2 };

  // ---------------------------------------------------------------------
  // Order: the variable order and the combination of stored factors, one
  // subset enumeration for both. ResumePreparation and AcceptCheckedFactor
  // set the selection's size, ChooseVariableOrder and CombineStoredFactors
  // the mode; SubsetSearch, Binomial, GeneratePermutations, EvaluateAllOrders
  // and EvaluateOrder work on the rest; ResumePreparation, ApplyVariableOrder
  // and CheckDegree take the chosen order, MultiplyByStoredFactor the
  // selected factor.
  // ---------------------------------------------------------------------
  struct OrderState {
    SubsetUse SubsetMode = SubsetUse::kVariableOrder;  // what the subsets are for
    int16_t SelectionTop = 0;       // n, the number of items to choose from
    int16_t SelectionStart = 0;     // the first subset size
    int16_t SubsetSize = 0;         // k, the current subset size
    FloatTable SelectionItem;       // [j] the item of number j
    ShortTable SelectionIndex;      // [c] the current subset, increasing; 0 after the last position
    ShortTable SelectionLimit;      // [c] the largest value position c takes
    int16_t SelectionPosition = 0;  // the position c handed to MultiplyByStoredFactor
    int16_t SubsetCount = 0;        // C(n, k); 0 beyond 16 bits
    float OrderCount = 0;           // k!
    std::vector<std::vector<float>> Permutations;  // every order of 1..k, in enumeration order
    FloatTable CodeOrder;   // [b] the variable at position b of the order the term codes are computed for
    float BestSpread = 0;   // the smallest spread of the codes found
    FloatTable BestOrder;   // [b] the order of that spread
    FloatTable BestWeight;  // [b] its weights
  };
  OrderState Order;

  // ---------------------------------------------------------------------
  // Exact: the exact companion, with the factoriser (none: the search's
  // results alone) and what the run knows of its polynomial's exact
  // factorisation and of its own result (engine/exact/companion.h). The
  // steps around the factoriser (LookForExactResult .. CertifyShortResult)
  // call it with the tables it reads (ExactTables); the search's start,
  // poll and end tell it where the run stands, and LookForInterruption,
  // LoadPendingFactor and EndAtEncodingLimit why a result may be incomplete.
  // ---------------------------------------------------------------------
  exact::Companion Exact;

  // ---------------------------------------------------------------------
  // Result: jg.dat, file number 3, as text and as values. EchoPolynomial
  // creates it and writes the echo; the writers, the report, the forms and
  // the end of the search write the result lines, each piece of text with the
  // values it stands for (PrintCommonFactor opens a segment ("=" and the
  // common factor), PrintDenseFactor and PrintTermFactor add the factors they
  // write to it, CheckZero records "=0"); ResultEnd ends a line in both.
  // WriteCertificate and CertifyShortResult judge the values and end the file
  // with the certificate; CloseResultFile closes it; StopWithMessage ends it
  // with a stop line.
  // ---------------------------------------------------------------------
  ResultFile Result;

  // The polynomial as read from DXS.DAT; ReadPolynomialFile writes it, the
  // normaliser consumes it.
  std::string PolynomialText;

  // Files, by the numbers the engine gives them.
  OutputFile WorkOutput;     // 1: DXS1.DAT written
  InputFile WorkInput;       // 1: DXS.DAT and DXS1.DAT read
  InputFile ResultInput;     // 3: jg.dat read back by the results display
  OutputFile PendingOutput;  // 4: a pending-factor file written
  InputFile PendingInput;    // 4: a pending-factor file read

  // =====================================================================
  // The steps, subsystem by subsystem
  // =====================================================================

  // ---------------------------------------------------------------------
  // Engine start-up and main flow
  // ---------------------------------------------------------------------
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
  // Term tables
  // ---------------------------------------------------------------------
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
  // Dense arithmetic and the factor store
  // ---------------------------------------------------------------------
  void DivideFromLow();           // Cofactor := PassImage / Trial, from the constant up
  void ExactQuotient();           // Trial := PassImage / Cofactor
  void MultiplyByStoredFactor();  // Cofactor := Cofactor * stored factor at position SelectionPosition
  void StoreFactor();             // appends Trial[0..TrialDegree]
  // Sizes FactorStore, FactorEnd, FactorDegree and the selection tables by
  // ImageDegree and empties the store; the search calls it when it sizes its
  // tables.
  void AllocateStoreTables();
  void RemoveNewestFactor();
  void EmptyStore();

  // ---------------------------------------------------------------------
  // Candidate check and mapping back to several variables
  // ---------------------------------------------------------------------
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
  void PrintTermTable();
  void PrintCommonFactor();
  // The same on the console only: a form found on a later pass, whose result
  // line in jg.dat already holds the common factor.
  void PrintCommonFactorOnConsole();
  void PrintDenseFactor();
  // The pass's polynomial (PassImage), each coefficient times sign, as the
  // factor PrintDenseFactor writes.
  void PrintPassImage(float sign);
  // The term table as a factor, each coefficient times sign, to both.
  void PrintTermFactor(float sign);
  void WriteMonomialCode();
  void WriteExpandedProductCofactorFirst();  // L = Cofactor, S = Trial
  void WriteExpandedProductTrialFirst();     // L = Trial, S = Cofactor
  void BeginSpecialLine();

  // ---------------------------------------------------------------------
  // Square and cube forms
  // ---------------------------------------------------------------------
  // Both continue at RestartPreparation when a form fits, else return.
  void FactorSquareTrinomial();
  void FactorSpecialBinomial();

  // ---------------------------------------------------------------------
  // Variable order and stored-factor combinations
  // ---------------------------------------------------------------------
  // No order of the variables keeps the codes within 16 bits.
  static constexpr std::string_view kEncodingLimitMessage =
      "变量的次数太高, 代换后的指数超出 32767. "
      "(The degrees in the variables are too high: under every order of the variables "
      "an exponent of the substitution exceeds 32767.)";
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

  void AllocateSearchTables();
  void BuildImage();
  void NormaliseSign();
  void OpenReport();
  void TrySpecialForms();
  void PreCheckSumFactors();
  void StartPass();
  // The factors of the constant term on the console, each tried as the prime
  // of Eisenstein's criterion; a proof of irreducibility continues at
  // CloseResultFile or FinalOutput (engine/search/eisenstein.cpp).
  void EisensteinTest();
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
  // The tables of the search and of the dense vectors for an image of degree
  // n: recreated empty on the first pass, grown (never shrunk) on later ones.
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
  void ReportFactorisation();
  void ContinueAfterSplit();
  void EndOfSearch();
  void OfferRetry();
  void RetryStep();
  void FinalOutput();
  // With the exact factoriser, a polynomial that no variable order encodes
  // within 16 bits is written unsplit and the run ends as a stopped one.
  void EndAtEncodingLimit();
  void LoadPendingFactor();
  void FinishRun();
  // After the last factor of a polynomial: the next pending factor, if any.
  Step AfterLastFactor() const {
    return Report.PendingRead < Report.PendingCount ? &Engine::LoadPendingFactor : &Engine::FinishRun;
  }
  void CloseResultFile();
  // jg.dat read back and shown on the console, its equal factors collapsed,
  // and the start and end times (engine/search/result_display.cpp).
  void ShowResults();
  void EndRun();
  void ClosingLines();

  // ---------------------------------------------------------------------
  // The exact factoriser beside the search (engine/search/exact_steps.cpp):
  // the steps call the exact companion (Exact), which does the work, and
  // name the step that follows.
  // ---------------------------------------------------------------------
  // Part of the interruption poll: with the exact factorisation at hand,
  // continues at EndSearchProvedIrreducible, HandOverExactFactor or
  // WriteKnownFactors.
  void LookForExactResult();
  void EndSearchProvedIrreducible();  // -> EndOfSearch, as after a search of every degree
  void HandOverExactFactor();         // the exact factor to the candidate check -> HandleOutcome or EndOfSearch
  void WriteKnownFactors();           // they end the result line -> LoadPendingFactor or FinishRun
  void ExamineSearchEnd();            // -> WaitAtSearchEnd or EndOfSearch
  void WaitAtSearchEnd();             // -> itself, HandOverExactFactor or EndOfSearch
  void CertifyResult();               // -> WaitForExactResult or WriteCertificate
  void WaitForExactResult();          // -> itself, WriteCertificate
  void WriteCertificate();            // -> CloseResultFile
  void CertifyShortResult();          // "=0" and single-term results, at EndRun
  // What the exact companion reads of the tables, as they stand now.
  exact::EngineTables ExactTables() const;

  // ---------------------------------------------------------------------
  // Files and output pieces: the console, the result file, or both
  // ---------------------------------------------------------------------
  void CloseAllFiles();
  std::filesystem::path PathOf(std::string_view name) const { return workFolder_ / std::string(name); }
  // "gsys" and the number text of n ("gsys 1").
  static std::string PendingFileName(float n) { return "gsys" + NumberText(n); }

  void ConsoleText(std::string_view text) { console_.Write(text); }
  void ConsoleNumber(float v) { console_.Write(NumberItem(v)); }  // a number item
  void ConsoleEnd() { console_.EndLine(); }
  void ResultText(std::string_view text) { Result.Write(text); }
  void ResultNumberText(float v) { Result.WriteNumberText(v); }
  void ResultNumberItem(float v) { Result.WriteNumberItem(v); }
  void ResultEnd() { Result.EndLine(); }
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

  // Continuation: the step that the run loop calls next.
  void Go(Step next) { next_ = next; }
  // True once a routine has named a continuation: its caller returns at once.
  bool Diverted() const { return next_ != nullptr; }
  Step NextStep() const { return next_; }

 private:
  Console& console_;
  Clock& clock_;
  std::filesystem::path workFolder_;
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
