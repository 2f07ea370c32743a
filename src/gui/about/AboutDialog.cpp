#include "gui/about/AboutDialog.h"

#include "gui/about/LinkLabel.h"
#include "gui/controls/QtText.h"
#include "gui/resources/ProgramIcon.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace gui {
namespace {

constexpr int kIconSize = 48;
constexpr int kBoxWidthInCharacters = 36;
// Room for the box's frame and inner margins beside its text.
constexpr int kBoxPadding = 16;

QLineEdit* ReadOnlyBox(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setReadOnly(true);
  return box;
}

// A read-only box is as wide as its text, so that nothing of it is hidden behind the frame.
void ShowWhole(QLineEdit& box, const QString& text) {
  box.setText(text);
  box.home(false);
  const QFontMetrics metrics = box.fontMetrics();
  box.setMinimumWidth(std::max(metrics.averageCharWidth() * kBoxWidthInCharacters,
                               metrics.horizontalAdvance(text) + kBoxPadding));
}

QLabel* Caption(const std::string& text, const char* name, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(controls::LiteralLabel(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setBuddy(buddy);
  return label;
}

// The window's colours are the ERP's: 0x00BBGGRR.
QColor FromErpColor(std::uint32_t color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace

AboutDialog::AboutDialog(about::frmAbout& window, AboutWindowServices& services, QWidget* parent)
    : QDialog(parent), window_(window), services_(services) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowIcon(ProgramIcon());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildProductFrame());
  layout->addLayout(BuildLinkRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowTexts();
  ShowCopyrightColor();
  ConnectModel();
  ConnectTimers();
  services_.Pointer().SetWindow(this);
  window_.SetCloseHandler([this] { accept(); });
  cmdOK_->setFocus();
}

AboutDialog::~AboutDialog() {
  window_.SetCloseHandler(nullptr);
  services_.TimerHomePage().Stop();
  services_.TimerLatestVersion().Stop();
  services_.Pointer().SetWindow(nullptr);
}

QGroupBox* AboutDialog::BuildProductFrame() {
  frmProduct_ = new QGroupBox(this);
  frmProduct_->setObjectName(QStringLiteral("frmProduct"));

  auto* picIcon = new QLabel(frmProduct_);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
  lblBuildNumber_ = new QLabel(frmProduct_);
  lblBuildNumber_->setObjectName(QStringLiteral("lblBuildNumber"));
  auto* header = new QHBoxLayout;
  header->addWidget(picIcon);
  header->addSpacing(8);
  header->addWidget(lblBuildNumber_, 1);

  txtSystemManagerVersion_ = ReadOnlyBox("txtSystemManagerVersion", frmProduct_);
  txtCompany_ = ReadOnlyBox("txtCompany", frmProduct_);
  txtClientID_ = ReadOnlyBox("txtClientID", frmProduct_);
  auto* boxes = new QFormLayout;
  boxes->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  boxes->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  boxes->addRow(Caption(window_.lblSystemManagerVersion(), "lblSystemManagerVersion",
                        txtSystemManagerVersion_, frmProduct_),
                txtSystemManagerVersion_);
  boxes->addRow(Caption(window_.lblCompany(), "lblCompany", txtCompany_, frmProduct_), txtCompany_);
  boxes->addRow(Caption(window_.lblClientID(), "lblClientID", txtClientID_, frmProduct_),
                txtClientID_);

  lblCopyright_ = new QLabel(frmProduct_);
  lblCopyright_->setObjectName(QStringLiteral("lblCopyright"));

  auto* frame = new QVBoxLayout(frmProduct_);
  frame->addLayout(header);
  frame->addSpacing(6);
  frame->addLayout(boxes);
  frame->addSpacing(6);
  frame->addWidget(lblCopyright_);
  return frmProduct_;
}

QLayout* AboutDialog::BuildLinkRow() {
  txtHomePage_ = new LinkLabel(window_.txtHomePage(), this);
  txtHomePage_->setObjectName(QStringLiteral("txtHomePage"));
  txtLatestVersion_ = new LinkLabel(window_.txtLatestVersion(), this);
  txtLatestVersion_->setObjectName(QStringLiteral("txtLatestVersion"));
  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, [this] { window_.cmdOK_Click(); });

  auto* row = new QHBoxLayout;
  row->setContentsMargins(4, 0, 0, 0);
  row->addWidget(txtHomePage_);
  row->addSpacing(24);
  row->addWidget(txtLatestVersion_);
  row->addStretch(1);
  row->addWidget(cmdOK_);
  return row;
}

void AboutDialog::ConnectModel() {
  for (host::Signal<>* changed :
       {&window_.CaptionChanged, &window_.frmProductChanged, &window_.lblBuildNumberChanged,
        &window_.txtSystemManagerVersionChanged, &window_.txtCompanyChanged,
        &window_.txtClientIDChanged, &window_.lblCopyrightChanged}) {
    connections_.push_back(changed->Connect([this] { ShowTexts(); }));
  }
  connections_.push_back(
      window_.lblCopyrightForeColorChanged.Connect([this] { ShowCopyrightColor(); }));
}

void AboutDialog::ConnectTimers() {
  connect(&services_.TimerHomePage().QtTimer(), &QTimer::timeout, this,
          [this] { window_.txtHomePage().Tick(); });
  connect(&services_.TimerLatestVersion().QtTimer(), &QTimer::timeout, this,
          [this] { window_.txtLatestVersion().Tick(); });
}

void AboutDialog::ShowTexts() {
  setWindowTitle(controls::ToQt(window_.Caption()));
  frmProduct_->setTitle(controls::LiteralLabel(window_.frmProduct()));
  lblBuildNumber_->setText(controls::LiteralLabel(window_.lblBuildNumber()));
  ShowWhole(*txtSystemManagerVersion_, controls::ToQt(window_.txtSystemManagerVersion()));
  ShowWhole(*txtCompany_, controls::ToQt(window_.txtCompany()));
  ShowWhole(*txtClientID_, controls::ToQt(window_.txtClientID()));
  lblCopyright_->setText(controls::LiteralLabel(window_.lblCopyright()));
}

void AboutDialog::ShowCopyrightColor() {
  QPalette palette = lblCopyright_->palette();
  if (window_.lblCopyrightForeColor() == about::kBlack) {
    palette.setColor(QPalette::WindowText, frmProduct_->palette().color(QPalette::WindowText));
  } else {
    palette.setColor(QPalette::WindowText, FromErpColor(window_.lblCopyrightForeColor()));
  }
  lblCopyright_->setPalette(palette);
}

void AboutDialog::reject() {
  window_.cmdOK_Click();
}

void AboutDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  window_.Form_Activate();
}

}  // namespace gui
