#include "frontend/windows/start_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/windows/focus_marks.h"
#include "frontend/windows/main_window.h"
#include "frontend/windows/start_picture.h"

namespace pfac::frontend {

baozhForm::baozhForm(MainWindowFactory makeMainWindow, QWidget* parent)
    : QWidget(parent), makeMainWindow_(std::move(makeMainWindow)) {
  setObjectName(QStringLiteral("baozhForm"));
  setWindowTitle(QStringLiteral("Form1"));

  picture1_ = new QLabel(this);
  picture1_->setObjectName(QStringLiteral("Picture1"));
  picture1_->setPixmap(QPixmap::fromImage(DrawStartPicture()));
  picture1_->setFixedSize(kStartPictureSize);

  cmdbao_ = new QPushButton(QStringLiteral("输入多项式"), this);
  cmdbao_->setObjectName(QStringLiteral("cmdbao"));
  cmdtuichu_ = new QPushButton(QStringLiteral("退  出"), this);
  cmdtuichu_->setObjectName(QStringLiteral("Cmdtuichu"));
  for (QPushButton* button : {cmdbao_, cmdtuichu_}) {
    button->setMinimumSize(130, 40);
    PressedByEnter(button);
  }
  // Enter opens the main window at once; Tab goes on to 退出.
  cmdbao_->setDefault(true);
  setTabOrder(cmdbao_, cmdtuichu_);
  cmdbao_->setFocus();
  connect(cmdbao_, &QPushButton::clicked, this, &baozhForm::cmdbao_Click);
  connect(cmdtuichu_, &QPushButton::clicked, this, &baozhForm::Cmdtuichu_Click);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdbao_);
  buttons->addSpacing(24);
  buttons->addWidget(cmdtuichu_);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 12, 20, 12);
  layout->setSpacing(20);
  layout->addWidget(picture1_);
  layout->addLayout(buttons);
}

baozhForm::~baozhForm() = default;

// The start window goes for good; the main window is loaded on the first click.
void baozhForm::cmdbao_Click() {
  hide();
  if (!mainWindow_) mainWindow_ = makeMainWindow_();
  mainWindow_->show();
  mainWindow_->Picture1()->Print(QString::fromUtf8(kExamplesHint));
  mainWindow_->FocusText2();
}

void baozhForm::Cmdtuichu_Click() {
  close();
  QCoreApplication::quit();
}

}  // namespace pfac::frontend
