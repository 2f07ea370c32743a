#include "gui/controls/FieldEditWidget.h"

#include "gui/controls/FinderDialog.h"
#include "gui/controls/PaintedIcons.h"
#include "gui/controls/QtText.h"

#include "host/HostError.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>

namespace gui::controls {
namespace {

/// The fewest characters the edit box keeps room for before the extra buttons drop their labels.
constexpr int kNarrowestEditChars = 12;

bool IsNumber(host::FieldType type) {
  return type != host::FieldType::Text && type != host::FieldType::Date;
}

/// Focus that leaves for another window or a pop-up (the drop-down's list among them) comes
/// back; only a real move commits.
bool FocusMoved(const QFocusEvent& event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason &&
         !QApplication::activePopupWidget();
}

}  // namespace

FieldEditWidget::FieldEditWidget(host::FieldEditControl& control, ControlServices& services,
                                 QWidget* parent)
    : QWidget(parent), control_(control), services_(services), cellEditor_(false) {
  Build();
  Connect();
}

FieldEditWidget::FieldEditWidget(host::FieldEditControl& control, ControlServices& services,
                                 CellEditorHooks hooks, QWidget* parent)
    : QWidget(parent),
      control_(control),
      services_(services),
      hooks_(std::move(hooks)),
      cellEditor_(true) {
  Build();
  Connect();
}

FieldEditWidget::~FieldEditWidget() {
  Detach();
}

void FieldEditWidget::Build() {
  label_ = new QLabel(this);
  edit_ = new QLineEdit(this);
  list_ = new QComboBox(this);
  finderButton_ = new QToolButton(this);
  finderButton_->setIcon(FinderIcon());
  finderButton_->setToolTip(tr("Finder (F5)"));
  finderButton_->setAccessibleName(tr("Finder"));
  // F5 is the keyboard's way to the finder; the button is not a tab stop of its own.
  finderButton_->setFocusPolicy(Qt::NoFocus);
  label_->setBuddy(edit_);
  edit_->installEventFilter(this);
  list_->installEventFilter(this);
  if (cellEditor_) edit_->setFrame(false);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(cellEditor_ ? 0 : 4);
  layout->addWidget(label_);
  layout->addWidget(edit_, 1);
  layout->addWidget(list_, 1);
  layout->addWidget(finderButton_);

  connect(finderButton_, &QToolButton::clicked, this, [this] { OpenFinder(); });
  connect(list_, &QComboBox::activated, this, [this] { Commit(false); });

  ShowLabel();
  ShowField();
  ShowPresentation();
  ShowButtons();
  ShowValue();
  setEnabled(control_.Enabled());
  if (!control_.Visible()) hide();
}

void FieldEditWidget::Connect() {
  auto on = [this](host::Signal<>& signal, void (FieldEditWidget::*redraw)()) {
    connections_.push_back(signal.Connect([this, redraw] { (this->*redraw)(); }));
  };
  on(control_.ValueChanged, &FieldEditWidget::ShowValue);
  on(control_.LeftLabelChanged, &FieldEditWidget::ShowLabel);
  on(control_.CaptionChanged, &FieldEditWidget::ShowLabel);
  on(control_.FieldChanged, &FieldEditWidget::ShowField);
  on(control_.FinderChanged, &FieldEditWidget::ShowPresentation);
  on(control_.PresentationChanged, &FieldEditWidget::ShowPresentation);
  on(control_.ButtonsChanged, &FieldEditWidget::ShowButtons);
  on(control_.ButtonStateChanged, &FieldEditWidget::ShowButtonStates);
  connections_.push_back(
      control_.EnabledChanged.Connect([this] { setEnabled(control_.Enabled()); }));
  connections_.push_back(
      control_.VisibleChanged.Connect([this] { setVisible(control_.Visible()); }));
}

void FieldEditWidget::Detach() {
  if (detached_) return;
  detached_ = true;
  hooks_ = {};
  connections_.clear();
  edit_->removeEventFilter(this);
  list_->removeEventFilter(this);
  if (finder_) finder_->reject();
}

QWidget& FieldEditWidget::Input() const {
  return showsList_ ? static_cast<QWidget&>(*list_) : static_cast<QWidget&>(*edit_);
}

std::string FieldEditWidget::InputText() const {
  return FromQt(showsList_ ? list_->currentText() : edit_->text());
}

std::string FieldEditWidget::ShownValue() const {
  try {
    return control_.Value();
  } catch (const host::HostError&) {
    // A view field whose record cannot be read shows nothing.
    return {};
  }
}

void FieldEditWidget::ShowValue() {
  const QString value = ToQt(ShownValue());
  if (showsList_) {
    list_->setCurrentIndex(list_->findText(value));
  } else if (edit_->text() != value) {
    edit_->setText(value);
    // A value longer than the box shows its beginning until the operator works in it.
    if (!edit_->hasFocus()) edit_->setCursorPosition(0);
  }
}

void FieldEditWidget::ShowLabel() {
  const std::string& text =
      control_.LeftLabel().empty() ? control_.Caption() : control_.LeftLabel();
  label_->setText(LiteralLabel(text));
  label_->setVisible(!cellEditor_ && !text.empty());
}

void FieldEditWidget::ShowField() {
  const host::AccpacField& field = control_.AccpacField();
  const host::StandaloneField* standalone = field.Standalone();
  showsList_ = standalone && !standalone->PresentationList().empty();
  list_->clear();
  if (showsList_) {
    for (const host::PresentationEntry& entry : standalone->PresentationList()) {
      list_->addItem(ToQt(entry.text));
    }
  }
  int size = 0;
  bool number = false;
  bool masked = false;
  if (const host::Field* view = field.ViewField()) {
    size = view->Size();
    number = IsNumber(view->Info().type);
  } else if (standalone) {
    size = standalone->Size();
    number = IsNumber(standalone->Info().type);
    masked = standalone->Mask() == host::FieldMask::ItemNumber;
  }
  // A formatted item number is longer than the field that keeps it unformatted.
  edit_->setMaxLength(size > 0 && !number && !masked ? size : 32767);
  edit_->setAlignment(number ? Qt::AlignRight | Qt::AlignVCenter
                             : Qt::AlignLeft | Qt::AlignVCenter);
  edit_->setVisible(!showsList_);
  list_->setVisible(showsList_);
  label_->setBuddy(&Input());
  setFocusProxy(&Input());
  ShowValue();
}

void FieldEditWidget::ShowPresentation() {
  const int before = control_.NumberDecimalsBefore();
  const int after = control_.NumberDecimalsAfter();
  if (before > 0 || after > 0) {
    QString pattern = QStringLiteral("[0-9]{0,%1}").arg(before > 0 ? before : 15);
    if (after > 0) pattern += QStringLiteral("([.][0-9]{0,%1})?").arg(after);
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit_));
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  } else {
    edit_->setValidator(nullptr);
  }
  finderButton_->setVisible(control_.ViewFinderButton() || !control_.ViewFinder().ViewID.empty());
}

void FieldEditWidget::ShowButtons() {
  for (QToolButton* button : extraButtons_) delete button;
  extraButtons_.clear();
  auto* row = static_cast<QHBoxLayout*>(layout());
  for (int index = 0; index < control_.ButtonCount(); ++index) {
    const QString text = ToQt(control_.ButtonLabel(index));
    auto* button = new QToolButton(this);
    button->setIcon(FilterIcon());
    button->setText(text);
    button->setAccessibleName(text);
    button->setFocusPolicy(Qt::StrongFocus);
    // Checkable so that a set button is drawn pressed in; the model alone decides whether it is.
    button->setCheckable(true);
    const int code = host::FieldEditControl::kExtraButtonCode + index;
    connect(button, &QToolButton::clicked, this, [this, code] {
      if (!detached_) services_.Run([&] { control_.PressButton(code); });
      if (!detached_) ShowButtonStates();
    });
    row->addWidget(button);
    extraButtons_.push_back(button);
  }
  ShowButtonStates();
  FitButtons();
}

void FieldEditWidget::ShowButtonStates() {
  for (std::size_t index = 0; index < extraButtons_.size(); ++index) {
    QToolButton& button = *extraButtons_[index];
    const int at = static_cast<int>(index);
    button.setChecked(control_.ButtonSet(at));
    button.setToolTip(ToQt(control_.ButtonTip(at)));
  }
}

void FieldEditWidget::FitButtons() {
  // Where the control is placed too narrow for the buttons' labels, they show their icons only.
  const QFontMetrics metrics = fontMetrics();
  int needed = metrics.averageCharWidth() * kNarrowestEditChars;
  // A label may be given a fixed width wider than its text, to line up with the labels above.
  if (label_->isVisibleTo(this))
    needed += std::max(label_->sizeHint().width(), label_->minimumWidth());
  if (finderButton_->isVisibleTo(this)) needed += finderButton_->sizeHint().width();
  for (QToolButton* button : extraButtons_) {
    needed += button->iconSize().width() + metrics.horizontalAdvance(button->text()) + 16;
  }
  needed += layout()->spacing() * (2 + static_cast<int>(extraButtons_.size()));
  const Qt::ToolButtonStyle style =
      width() >= needed ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly;
  for (QToolButton* button : extraButtons_) button->setToolButtonStyle(style);
}

void FieldEditWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitButtons();
}

bool FieldEditWidget::eventFilter(QObject* watched, QEvent* event) {
  if (detached_ || (watched != edit_ && watched != list_))
    return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) return HandleKey(static_cast<QKeyEvent&>(*event));
  if (event->type() == QEvent::FocusIn) committedByTab_ = false;
  if (event->type() == QEvent::FocusOut && FocusMoved(static_cast<QFocusEvent&>(*event))) {
    if (committedByTab_) {
      committedByTab_ = false;
    } else {
      Commit(true);
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool FieldEditWidget::HandleKey(QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_F5:
      if (key.modifiers() != Qt::NoModifier) return false;
      OpenFinder();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (showsList_ && list_->view()->isVisible()) return false;
      Commit(false);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      // Committed before the focus moves, so that a value the program refuses keeps it here.
      if (!Commit(false) || cellEditor_) return true;
      committedByTab_ = true;
      return false;
    case Qt::Key_Escape:
      if (cellEditor_) {
        if (hooks_.cancel) hooks_.cancel();
        return true;
      }
      if (InputText() == ShownValue()) return false;
      ShowValue();
      return true;
    default:
      return false;
  }
}

bool FieldEditWidget::Commit(bool focusLost) {
  if (detached_ || committing_) return false;
  QScopedValueRollback<bool> guard(committing_, true);
  if (cellEditor_) {
    // The grid closes this editor when it takes the value: nothing here is touched after.
    CellEditorHooks hooks = hooks_;
    if (hooks.commit) hooks.commit(InputText(), focusLost);
    return true;
  }
  return CommitToControl();
}

bool FieldEditWidget::CommitToControl() {
  const std::string text = InputText();
  bool taken = true;
  if (text != ShownValue()) taken = services_.Run([&] { control_.Type(text); });
  // A refused value leaves the model as it was, and the box shows that again.
  ShowValue();
  bool left = false;
  if (taken) services_.Run([&] { left = control_.Leave(); });
  if (!left) KeepFocus();
  return left;
}

void FieldEditWidget::KeepFocus() {
  QTimer::singleShot(0, this, [this] {
    if (detached_) return;
    Input().setFocus(Qt::OtherFocusReason);
    if (!showsList_) edit_->selectAll();
  });
}

void FieldEditWidget::OpenFinder() {
  if (detached_ || finder_ || !isEnabled()) return;
  if (hooks_.requestFinder && !services_.Run(hooks_.requestFinder)) return;
  host::ViewFinder settings = control_.ViewFinder();
  if (settings.ViewID.empty()) return;
  // Without a key given by the program, the list starts at the value the control holds.
  if (settings.InitKeyValue.empty() && settings.InitKeyType != 0 && !InputText().empty()) {
    settings.InitKeyValue = {InputText()};
  }
  FinderDialog* dialog = nullptr;
  if (!services_.Run([&] { dialog = new FinderDialog(settings, services_, this); })) return;
  finder_ = dialog;
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] { Pick(dialog->ChosenValue()); });
  dialog->open();
}

void FieldEditWidget::Pick(const std::string& value) {
  if (detached_) return;
  if (showsList_) {
    list_->setCurrentIndex(list_->findText(ToQt(value)));
  } else {
    edit_->setText(ToQt(value));
  }
  Input().setFocus(Qt::OtherFocusReason);
  Commit(false);
}

}  // namespace gui::controls
