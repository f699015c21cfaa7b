#include "frontend/PFAC1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/Form3.h"

namespace pfac::frontend {

namespace {

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumSize(96, 34);
  return button;
}

// A control that is hidden keeps its place, so that the others do not move.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

PFAC1::PFAC1(Dialogs& dialogs, ResultPrinter& printer, EngineLauncher launcher, QWidget* parent)
    : PrintSurface(parent),
      dialogs_(dialogs),
      printer_(printer),
      launcher_(std::move(launcher)),
      input_(*this, files_, dialogs) {
  setObjectName(QStringLiteral("PFAC1"));
  setWindowTitle(QStringLiteral("一元和多元多项式的因式分解"));
  createWidgets();
  createLayout();
  connectCommands();
  input_.Load();
}

PFAC1::~PFAC1() = default;

void PFAC1::createWidgets() {
  label8_ = new QLabel(this);
  label8_->setObjectName(QStringLiteral("Label8"));
  label9_ = new QLabel(this);
  label9_->setObjectName(QStringLiteral("Label9"));
  for (QLabel* label : {label8_, label9_}) {
    label->setTextFormat(Qt::PlainText);  // keeps the blanks as they are
    KeepPlaceWhenHidden(label);
  }

  text2_ = new QLineEdit(this);
  text2_->setObjectName(QStringLiteral("Text2"));
  QFont bigger = text2_->font();
  bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
  text2_->setFont(bigger);
  text2_->setMinimumHeight(34);
  KeepPlaceWhenHidden(text2_);

  picture1_ = new PrintSurface(this);
  picture1_->setObjectName(QStringLiteral("Picture1"));
  picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture1_->setLineWidth(2);
  picture1_->setBackgroundRole(QPalette::Base);
  picture1_->setForegroundRole(QPalette::Text);
  picture1_->setAutoFillBackground(true);
  picture1_->setFont(bigger);
  picture1_->setMinimumSize(440, 110);

  ole1_ = new EngineBox(this);
  ole1_->setObjectName(QStringLiteral("OLE1"));
  ole1_->setFixedSize(190, 110);

  cmdshuru_ = MakeButton("Cmdshuru", QStringLiteral("输入多项式"), this);
  cmdWanchang_ = MakeButton("CmdWANCHANG", QStringLiteral("输入完毕"), this);
  cmdChongshu_ = MakeButton("CmdCHONGSHU", QStringLiteral("重新输入"), this);
  cmddayin_ = MakeButton("cmddayin", QStringLiteral("打印"), this);
  cmdbangzhu_ = MakeButton("Cmdbangzhu", QStringLiteral("简介"), this);
  cmdtuichu_ = MakeButton("Cmdtuichu", QStringLiteral("退出"), this);
}

void PFAC1::createLayout() {
  auto* work = new QHBoxLayout;
  work->addWidget(picture1_, 1);
  work->addSpacing(12);
  work->addWidget(ole1_, 0, Qt::AlignVCenter);

  auto* commands = new QHBoxLayout;
  for (QPushButton* button :
       {cmdshuru_, cmdWanchang_, cmdChongshu_, cmddayin_, cmdbangzhu_, cmdtuichu_}) {
    commands->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 14, 18, 14);
  layout->setSpacing(8);
  layout->addWidget(label8_);
  layout->addWidget(label9_);
  layout->addWidget(text2_);
  layout->addSpacing(6);
  layout->addLayout(work, 1);
  layout->addSpacing(6);
  layout->addLayout(commands);
}

void PFAC1::connectCommands() {
  connect(cmdshuru_, &QPushButton::clicked, this, &PFAC1::Cmdshuru_Click);
  connect(cmdWanchang_, &QPushButton::clicked, this, &PFAC1::CmdWANCHANG_Click);
  connect(cmdChongshu_, &QPushButton::clicked, this, &PFAC1::CmdCHONGSHU_Click);
  connect(cmddayin_, &QPushButton::clicked, this, &PFAC1::cmddayin_Click);
  connect(cmdbangzhu_, &QPushButton::clicked, this, &PFAC1::Cmdbangzhu_Click);
  connect(cmdtuichu_, &QPushButton::clicked, this, &PFAC1::Cmdtuichu_Click);
  connect(ole1_, &EngineBox::doubleClicked, this, &PFAC1::OLE1_DblClick);
}

void PFAC1::Cmdshuru_Click() { input_.NewPolynomial(); }
void PFAC1::CmdWANCHANG_Click() { input_.InputFinished(); }
void PFAC1::CmdCHONGSHU_Click() { input_.EnterAgain(); }
void PFAC1::cmddayin_Click() { PrintResults(printer_, files_, dialogs_); }

// The help window is shown, cleared and given its page; "简介" again shows the
// page again from the top.
void PFAC1::Cmdbangzhu_Click() {
  if (help_ == nullptr) {
    help_ = new Form3(this);
    connect(help_, &Form3::left, this, &PFAC1::FocusText2);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
  help_->Cls();
  help_->PrintHelpPage();
}

void PFAC1::Cmdtuichu_Click() { EndProgram(); }

// Only an active engine box reports a double-click.
void PFAC1::OLE1_DblClick() {
  QString error;
  if (!launcher_(EngineBesideFrontEnd(), &error)) dialogs_.Tell(error.toStdString(), kNoticeCaption);
}

void PFAC1::closeEvent(QCloseEvent* event) {
  if (!ending_) EndProgram();
  event->accept();
}

// All files closed; a printout left open is printed now.
void PFAC1::EndProgram() {
  ending_ = true;
  files_.CloseAll();
  EndOpenDocument(printer_, dialogs_);
  if (help_ != nullptr) help_->hide();
  hide();
  QCoreApplication::quit();
}

QWidget* PFAC1::Widget(Control control) const {
  switch (control) {
    case Control::Text2: return text2_;
    case Control::Label8: return label8_;
    case Control::Label9: return label9_;
    case Control::Cmdshuru: return cmdshuru_;
    case Control::CmdWANCHANG: return cmdWanchang_;
    case Control::CmdCHONGSHU: return cmdChongshu_;
    case Control::cmddayin: return cmddayin_;
  }
  return nullptr;
}

void PFAC1::ClsWindow() { Cls(); }
void PFAC1::ClsPicture1() { picture1_->Cls(); }
void PFAC1::PrintOnPicture1(const std::string& line) { picture1_->Print(QString::fromStdString(line)); }
void PFAC1::SetEnabled(Control control, bool enabled) { Widget(control)->setEnabled(enabled); }
void PFAC1::SetVisible(Control control, bool visible) { Widget(control)->setVisible(visible); }

void PFAC1::SetCaption(Control label, const std::string& caption) {
  if (auto* widget = qobject_cast<QLabel*>(Widget(label))) widget->setText(QString::fromStdString(caption));
}

std::string PFAC1::Text2() const { return text2_->text().toStdString(); }
void PFAC1::SetText2(const std::string& text) { text2_->setText(QString::fromStdString(text)); }

void PFAC1::FocusText2() {
  activateWindow();
  text2_->setFocus(Qt::OtherFocusReason);
}

void PFAC1::SetEngineActive(bool active) { ole1_->SetActive(active); }

}  // namespace pfac::frontend
