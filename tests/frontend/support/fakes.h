// What the front end's tests put in place of the user and the machine: message
// boxes answered from a script, and a working folder of the test's own.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <string>
#include <vector>

#include "frontend/commands/dialogs.h"

namespace pfac::frontend::testing {

// Answers questions in the order given and records every box shown. A
// question beyond the script fails the test and is answered No.
class ScriptedDialogs : public Dialogs {
 public:
  struct Box {
    std::string text;
    std::string caption;
    bool question;
  };

  void Answer(std::initializer_list<bool> answers) { answers_.insert(answers_.end(), answers); }

  bool AskYesNo(const std::string& text, const std::string& caption) override {
    shown.push_back({text, caption, true});
    if (answers_.empty()) {
      QTest::qFail(("unexpected question: " + text).c_str(), __FILE__, __LINE__);
      return false;
    }
    bool answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void Tell(const std::string& text, const std::string& caption) override {
    shown.push_back({text, caption, false});
  }

  std::vector<std::string> Questions() const { return Texts(true); }
  std::vector<std::string> Messages() const { return Texts(false); }
  bool AllAnswered() const { return answers_.empty(); }

  std::vector<Box> shown;

 private:
  std::vector<std::string> Texts(bool questions) const {
    std::vector<std::string> texts;
    for (const Box& box : shown) {
      if (box.question == questions) texts.push_back(box.text);
    }
    return texts;
  }

  std::deque<bool> answers_;
};

// A fresh temporary folder as the current folder, for as long as it lives.
class WorkFolder {
 public:
  WorkFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~WorkFolder() { QDir::setCurrent(previous_); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  bool IsValid() const { return dir_.isValid(); }
  QString Path() const { return dir_.path(); }

  QByteArray Read(const QString& name) const {
    QFile file(dir_.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool Exists(const QString& name) const { return QFile::exists(dir_.filePath(name)); }
  void Write(const QString& name, const QByteArray& content) const {
    QFile file(dir_.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

}  // namespace pfac::frontend::testing
