// The exact factorisation of a text beyond the search's limits: the helper
// program pfac-exact in a process of its own, fed the polynomial's primitive
// part through a pipe, so that a window can stop it (a time limit, or the
// user's cancel) and stays responsive while it works. Its answer is
// multiplied back before it is taken, and becomes a result as a run's is.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>

#include "engine/exact/rational_factor.h"
#include "frontend/results/run_result.h"

class QProcess;

namespace pfac::frontend {

// The note that goes with every such result.
inline constexpr char kBeyondSearchNote[] = "超出搜索范围, 由精确分解得到 / beyond the search's limits: the exact factorisation";
// The certificate of an exact factorisation.
inline constexpr char kExactCertificate[] =
    "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is complete, every factor is "
    "irreducible over Q";
// How long the window waits for it by default, in milliseconds.
inline constexpr int kExactTimeLimitMs = 60000;

class ExactProcess : public QObject {
  Q_OBJECT

 public:
  // The helper program (pfac-exact).
  explicit ExactProcess(QString program, QObject* parent = nullptr);
  // A running helper is killed.
  ~ExactProcess() override;

  // Starts on the value (letters alphabetical, as ConvertedText holds it);
  // finished follows. False, with the reason, when it cannot start.
  bool Start(const format::RationalPolynomial& value, int timeLimitMs, QString* error);
  // Stops it; finished follows, without an answer.
  void Cancel();
  bool Running() const { return process_ != nullptr; }
  // Once finished: the answer, multiplied back, or why there is none.
  const std::optional<exact::RationalFactorisation>& Answer() const { return answer_; }
  const std::string& Why() const { return why_; }
  double Seconds() const { return seconds_; }

  // pfac-exact beside the engine program.
  static QString BesideEngine(const QString& engineProgram);

 signals:
  void finished();

 private:
  void Ended();

  QString program_;
  QProcess* process_ = nullptr;
  QTimer limit_;
  format::RationalPolynomial value_;
  std::string content_;
  std::optional<exact::RationalFactorisation> answer_;
  std::string why_;
  bool timedOut_ = false;
  bool cancelled_ = false;
  int timeLimitMs_ = 0;
  qint64 started_ = 0;
  double seconds_ = 0;
};

// The result of an exact factorisation, as the panel, the printout and the
// history take a run's: the text in the engine's syntax, its value and
// letters, the factorisation, the note and the certificate.
RunResult ExactRunResult(const std::string& text, const format::RationalPolynomial& value, const std::string& letters,
                         const exact::RationalFactorisation& factorisation, double seconds);

}  // namespace pfac::frontend
