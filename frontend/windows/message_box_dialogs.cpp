#include "frontend/windows/message_box_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace pfac::frontend {

bool MessageBoxDialogs::AskYesNo(const std::string& text, const std::string& caption) {
  return QMessageBox::question(QApplication::activeWindow(), QString::fromStdString(caption),
                               QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::Tell(const std::string& text, const std::string& caption) {
  QMessageBox::information(QApplication::activeWindow(), QString::fromStdString(caption),
                           QString::fromStdString(text));
}

}  // namespace pfac::frontend
