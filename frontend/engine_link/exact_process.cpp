#include "frontend/engine_link/exact_process.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "engine/exact/protocol.h"

namespace pfac::frontend {

namespace {

// The factorisation as a result segment without its "=": the content, the
// monomial, each factor in parentheses as often as it divides.
std::string SegmentText(const exact::RationalFactorisation& f, const std::string& letters) {
  std::string monomial;
  std::string factors;
  for (const exact::RationalFactor& factor : f.factors) {
    const std::string text = format::InputText(factor.polynomial, letters);
    for (int m = 0; m < factor.multiplicity; ++m) {
      if (factor.polynomial.terms.size() == 1) {
        monomial += text;
      } else {
        factors += "(" + text + ")";
      }
    }
  }
  std::string content = f.content;
  if (!monomial.empty() || !factors.empty()) {
    if (content == "1") content.clear();
    if (content == "-1") content = "-";
  }
  return content + monomial + factors;
}

}  // namespace

ExactProcess::ExactProcess(QString program, QObject* parent) : QObject(parent), program_(std::move(program)) {
  limit_.setSingleShot(true);
  connect(&limit_, &QTimer::timeout, this, [this] {
    if (process_ == nullptr) return;
    timedOut_ = true;
    process_->kill();
  });
}

ExactProcess::~ExactProcess() {
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(3000);
  }
}

QString ExactProcess::BesideEngine(const QString& engineProgram) {
  return QFileInfo(engineProgram).dir().filePath(QStringLiteral("pfac-exact"));
}

bool ExactProcess::Start(const format::RationalPolynomial& value, int timeLimitMs, QString* error) {
  if (process_ != nullptr) {
    *error = QStringLiteral("精确分解正在进行。(The exact factorisation is running.)");
    return false;
  }
  const QFileInfo helper(program_);
  if (!helper.isFile() || !helper.isExecutable()) {
    *error = QStringLiteral("找不到精确分解程序 %1。\n(The exact factoriser %1 was not found.)").arg(program_);
    return false;
  }
#ifdef PFAC_EXACT
  const std::optional<exact::Polynomial> primitive = exact::PrimitivePart(value, &content_);
#else
  const std::optional<exact::Polynomial> primitive;
#endif
  if (!primitive) {
    *error = QStringLiteral("多项式为 0 / the polynomial is 0");
    return false;
  }
  value_ = value;
  answer_.reset();
  why_.clear();
  timedOut_ = false;
  cancelled_ = false;
  timeLimitMs_ = timeLimitMs;
  process_ = new QProcess(this);
  process_->setStandardErrorFile(QProcess::nullDevice());
  connect(process_, &QProcess::finished, this, &ExactProcess::Ended);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) Ended();
  });
  started_ = QDateTime::currentMSecsSinceEpoch();
  process_->start(program_, {QString::number(QCoreApplication::applicationPid())});
  process_->write(QByteArray::fromStdString(exact::RequestText(*primitive)));
  process_->closeWriteChannel();
  if (timeLimitMs > 0) limit_.start(timeLimitMs);
  return true;
}

void ExactProcess::Cancel() {
  if (process_ == nullptr) return;
  cancelled_ = true;
  process_->kill();
}

void ExactProcess::Ended() {
  if (process_ == nullptr) return;
  limit_.stop();
  seconds_ = static_cast<double>(QDateTime::currentMSecsSinceEpoch() - started_) / 1000.0;
  const std::string text = process_->readAllStandardOutput().toStdString();
  process_->disconnect(this);
  process_->deleteLater();
  process_ = nullptr;
  if (cancelled_) {
    why_ = "精确分解已取消 / the exact factorisation was cancelled";
  } else if (timedOut_) {
    const std::string s = std::to_string(timeLimitMs_ / 1000);
    why_ = "精确分解超过 " + s + " 秒, 已停止 / the exact factorisation passed " + s + " s and was stopped";
  } else {
    std::string why;
    const std::optional<exact::Factorisation> primitive = exact::ReadAnswer(text, &why);
#ifdef PFAC_EXACT
    if (!primitive) {
      why_ = "精确分解失败 / the exact factorisation failed: " + why;
    } else {
      exact::RationalFactorisation f = exact::WithContent(content_, *primitive);
      if (exact::MultipliesBack(value_, f)) {
        answer_ = std::move(f);
      } else {
        why_ = "内部错误: 精确分解乘回去不等于多项式 / internal error: the exact factorisation does not multiply back";
      }
    }
#endif
  }
  emit finished();
}

RunResult ExactRunResult(const std::string& text, const format::RationalPolynomial& value, const std::string& letters,
                         const exact::RationalFactorisation& factorisation, double seconds) {
  (void)value;
  const ResultSource source(text, SegmentText(factorisation, letters), true, seconds);
  return RestoredRunResult(source, {kBeyondSearchNote, kExactCertificate}, RunEnd::Certified);
}

}  // namespace pfac::frontend
