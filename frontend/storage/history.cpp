#include "frontend/storage/history.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <optional>

namespace pfac::frontend {

namespace {

constexpr char kFormat[] = "pfac history";
constexpr int kVersion = 1;

// How a run ended, as the file names it.
constexpr std::array<std::pair<RunEnd, const char*>, 4> kEndNames{{
    {RunEnd::Finished, "finished"},
    {RunEnd::Certified, "certified"},
    {RunEnd::Incomplete, "incomplete"},
    {RunEnd::InternalError, "internal error"},
}};

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string WithoutBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

QJsonObject ToJson(const HistoryEntry& entry) {
  QJsonArray notes;
  for (const std::string& note : entry.notes) notes.append(Text(note));
  const auto end = std::find_if(kEndNames.begin(), kEndNames.end(), [&](const auto& n) { return n.first == entry.end; });
  QJsonObject object{{"text", Text(entry.text)},
                     {"polynomial", Text(entry.source.polynomial)},
                     {"factorisation", Text(entry.source.factorisation)},
                     {"typed", Text(entry.source.typed)},
                     {"complete", entry.source.complete},
                     {"seconds", entry.source.seconds},
                     {"end", QString::fromLatin1(end->second)},
                     {"notes", notes}};
  // Only an entry over the reals names its field: over the rationals an
  // entry reads as it always has.
  if (entry.source.field == Field::kReal) object.insert("field", QStringLiteral("real"));
  return object;
}

std::optional<HistoryEntry> FromJson(const QJsonValue& value) {
  const QJsonObject object = value.toObject();
  const QJsonValue notes = object.value("notes");
  const QString endName = object.value("end").toString();
  const auto end = std::find_if(kEndNames.begin(), kEndNames.end(),
                                [&](const auto& n) { return endName == QLatin1String(n.second); });
  if (!value.isObject() || !object.value("text").isString() || !object.value("polynomial").isString() ||
      !object.value("factorisation").isString() || !object.value("complete").isBool() || !notes.isArray() ||
      end == kEndNames.end()) {
    return std::nullopt;
  }
  HistoryEntry entry;
  entry.text = object.value("text").toString().toStdString();
  // The engine's time is missing from the entries of earlier versions.
  entry.source = {object.value("polynomial").toString().toStdString(),
                  object.value("factorisation").toString().toStdString(), object.value("complete").toBool(),
                  object.value("seconds").toDouble(0)};
  // What was typed is missing from the entries of earlier versions, which
  // then show the polynomial as the engine was given it.
  entry.source.typed = object.value("typed").toString().toStdString();
  if (object.value("field").toString() == QLatin1String("real")) entry.source.field = Field::kReal;
  for (const QJsonValue& note : notes.toArray()) {
    if (!note.isString()) return std::nullopt;
    entry.notes.push_back(note.toString().toStdString());
  }
  entry.end = end->first;
  return entry;
}

// The entries of the file's content; nullopt when it is not a history file.
std::optional<std::vector<HistoryEntry>> Parse(const QByteArray& content) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(content, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject root = document.object();
  if (root.value(kFormat).toInt() != kVersion || !root.value("entries").isArray()) return std::nullopt;
  std::vector<HistoryEntry> entries;
  for (const QJsonValue& value : root.value("entries").toArray()) {
    auto entry = FromJson(value);
    if (!entry) return std::nullopt;
    // An earlier version kept runs that gave no factorisation.
    if (!entry->source.factorisation.empty()) entries.push_back(std::move(*entry));
  }
  return entries;
}

// The first name pfac-history-damaged-N.json not taken in the folder.
QString SetAsideName(const QDir& folder) {
  for (int n = 1;; ++n) {
    const QString name = QStringLiteral("pfac-history-damaged-%1.json").arg(n);
    if (!folder.exists(name)) return folder.filePath(name);
  }
}

}  // namespace

void History::Load(const QString& folder, std::string* notice) {
  const QDir dir(folder);
  file_ = dir.filePath(QString::fromLatin1(kHistoryFile));
  entries_.clear();
  writable_ = true;
  QFile file(file_);
  if (!file.exists()) return;
  std::optional<std::vector<HistoryEntry>> entries;
  if (file.open(QIODevice::ReadOnly)) entries = Parse(file.readAll());
  file.close();
  if (entries) {
    entries_ = std::move(*entries);
    if (entries_.size() > kHistoryLimit) entries_.erase(entries_.begin(), entries_.end() - kHistoryLimit);
    return;
  }
  const QString aside = SetAsideName(dir);
  if (QFile::rename(file_, aside)) {
    *notice = "历史记录文件 " + file_.toStdString() + " 无法读取, 已改名为 " + aside.toStdString() +
              " 保存; 新的历史记录从现在开始。\n(The history file could not be read; it was kept as " +
              aside.toStdString() + ", and a new history begins now.)";
    return;
  }
  writable_ = false;
  *notice = "历史记录文件 " + file_.toStdString() +
            " 无法读取, 也无法改名; 它保持原样, 这次的结果不记入历史。\n(The history file could not be read or renamed; "
            "it is left as it is, and this session's results are not added to it.)";
}

bool History::Add(const std::string& text, const RunResult& result) {
  if (!GaveAnswer(result)) return true;
  const std::string echo = WithoutBlanks(result.source.polynomial);
  // An entry is a polynomial and its field: the same polynomial over the
  // other field is another entry.
  auto same = [&](const HistoryEntry& e) {
    return e.source.field == result.source.field &&
           (e.text == text || (!echo.empty() && WithoutBlanks(e.source.polynomial) == echo));
  };
  if (result.end != RunEnd::Certified &&
      std::any_of(entries_.begin(), entries_.end(), [&](const HistoryEntry& e) { return same(e) && e.Certified(); })) {
    return true;
  }
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), same), entries_.end());
  entries_.push_back({text, result.source, result.notes, result.end});
  if (entries_.size() > kHistoryLimit) entries_.erase(entries_.begin(), entries_.end() - kHistoryLimit);
  return Save();
}

// Written whole through a temporary file, so that an interrupted write never
// leaves a damaged history.
bool History::Save() const {
  if (!writable_ || file_.isEmpty()) return false;
  QJsonArray entries;
  for (const HistoryEntry& entry : entries_) entries.append(ToJson(entry));
  const QJsonObject root{{kFormat, kVersion}, {"entries", entries}};
  QSaveFile file(file_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
  return file.commit();
}

}  // namespace pfac::frontend
