#include "gui/controls/FilterWindowDialog.h"

#include "gui/controls/FinderDialog.h"
#include "gui/controls/PaintedIcons.h"
#include "gui/controls/QtText.h"

#include "host/HostError.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace gui::controls {
namespace {

/// How many of the view's first fields a value's finder shows besides the key's own.
constexpr int kFinderExtraFields = 4;
/// How many characters of a field's description its box shows before the list is opened.
constexpr int kFieldChars = 20;

enum Column { kJoin, kField, kOperator, kValue, kFinder, kRemove };

}  // namespace

FilterWindowDialog::FilterWindowDialog(host::DataSource& source, const std::string& startingFilter,
                                       ControlServices& services, QWidget* parent)
    : QDialog(parent), source_(source), services_(services) {
  setWindowTitle(tr("Filter - %1").arg(ToQt(source_.Description())));

  text_ = new QPlainTextEdit(this);
  text_->setTabChangesFocus(true);
  text_->installEventFilter(this);
  text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 4 + 12);
  connect(text_, &QPlainTextEdit::textChanged, this, [this] {
    if (writing_) return;
    problem_->hide();
    typedText_ = true;
  });
  auto* textLabel = new QLabel(tr("&Filter:"), this);
  textLabel->setBuddy(text_);

  problem_ = new QLabel(this);
  problem_->setWordWrap(true);
  problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  problem_->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &FilterWindowDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildRows());
  layout->addWidget(textLabel);
  layout->addWidget(text_);
  layout->addWidget(problem_);
  layout->addWidget(buttons);

  auto isText = [this](const std::string& field) { return IsText(field); };
  if (auto conditions = ParseConditions(startingFilter, isText)) {
    ShowConditions(*conditions);
  } else {
    typedText_ = true;
  }
  writing_ = true;
  text_->setPlainText(ToQt(startingFilter));
  writing_ = false;
  resize(fontMetrics().averageCharWidth() * 96, sizeHint().height());
}

QWidget* FilterWindowDialog::BuildRows() {
  auto* box = new QGroupBox(tr("Conditions"), this);
  auto* rows = new QWidget(box);
  rowsLayout_ = new QGridLayout(rows);
  rowsLayout_->setContentsMargins(0, 0, 0, 0);
  rowsLayout_->setColumnStretch(kValue, 1);
  add_ = new QPushButton(tr("&Add Condition"), box);
  connect(add_, &QPushButton::clicked, this, [this] {
    if (typedText_ && !TakeTypedFilter()) return;
    const int row = AddCondition();
    FieldBox(row).setFocus();
  });
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(rows);
  auto* addRow = new QHBoxLayout;
  addRow->addWidget(add_);
  addRow->addStretch(1);
  layout->addLayout(addRow);
  return box;
}

int FilterWindowDialog::AddCondition() {
  QWidget* parent = rowsLayout_->parentWidget();
  Row row;
  row.join = new QComboBox(parent);
  row.join->addItems({QStringLiteral("AND"), QStringLiteral("OR")});
  row.field = new QComboBox(parent);
  // Long descriptions would leave the value too little room.
  row.field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  row.field->setMinimumContentsLength(kFieldChars);
  for (int number = 1; number <= source_.FieldCount(); ++number) {
    row.field->addItem(ToQt(source_.InfoOf(number).description), number);
  }
  row.op = new QComboBox(parent);
  for (const std::string& op : FilterOperators()) row.op->addItem(ToQt(op));
  row.value = new QLineEdit(parent);
  row.finder = new QToolButton(parent);
  row.finder->setIcon(FinderIcon());
  row.finder->setToolTip(tr("Finder (F5)"));
  row.finder->setFocusPolicy(Qt::NoFocus);
  row.remove = new QToolButton(parent);
  row.remove->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
  row.remove->setToolTip(tr("Remove this condition"));
  row.remove->setAccessibleName(tr("Remove condition"));
  row.value->installEventFilter(this);

  auto changed = [this] { RowChanged(); };
  connect(row.join, &QComboBox::currentIndexChanged, this, changed);
  connect(row.op, &QComboBox::currentIndexChanged, this, changed);
  connect(row.value, &QLineEdit::textEdited, this, changed);
  connect(row.field, &QComboBox::currentIndexChanged, this, [this, row] {
    ShowFinderButton(row);
    RowChanged();
  });
  connect(row.finder, &QToolButton::clicked, this, [this, row] { OpenFinder(row); });
  connect(row.remove, &QToolButton::clicked, this, [this, row] { RemoveCondition(row); });
  rows_.push_back(row);
  ShowFinderButton(row);
  LayOutRows();
  RowChanged();
  return static_cast<int>(rows_.size()) - 1;
}

void FilterWindowDialog::ShowConditions(const std::vector<FilterCondition>& conditions) {
  for (const FilterCondition& condition : conditions) {
    const Row& row = rows_[static_cast<size_t>(AddCondition())];
    row.join->setCurrentIndex(condition.orJoin ? 1 : 0);
    row.field->setCurrentIndex(row.field->findData(source_.NumberOf(condition.field)));
    row.op->setCurrentText(ToQt(condition.op));
    row.value->setText(ToQt(condition.value));
  }
}

void FilterWindowDialog::RemoveCondition(const Row& row) {
  auto found = std::find_if(rows_.begin(), rows_.end(),
                            [&](const Row& held) { return held.field == row.field; });
  if (found == rows_.end()) return;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           found->join, found->field, found->op, found->value, found->finder, found->remove}) {
    widget->deleteLater();
    widget->hide();
  }
  rows_.erase(found);
  LayOutRows();
  RowChanged();
}

void FilterWindowDialog::LayOutRows() {
  for (int index = 0; index < static_cast<int>(rows_.size()); ++index) {
    const Row& row = rows_[static_cast<size_t>(index)];
    // The first condition is joined to nothing.
    row.join->setVisible(index > 0);
    rowsLayout_->addWidget(row.join, index, kJoin);
    rowsLayout_->addWidget(row.field, index, kField);
    rowsLayout_->addWidget(row.op, index, kOperator);
    rowsLayout_->addWidget(row.value, index, kValue);
    rowsLayout_->addWidget(row.finder, index, kFinder);
    rowsLayout_->addWidget(row.remove, index, kRemove);
    QWidget* previous = index == 0 ? nullptr : rows_[static_cast<size_t>(index) - 1].remove;
    if (previous) setTabOrder(previous, row.join);
    setTabOrder(row.join, row.field);
    setTabOrder(row.field, row.op);
    setTabOrder(row.op, row.value);
    setTabOrder(row.value, row.remove);
  }
}

bool FilterWindowDialog::IsText(const std::string& field) const {
  try {
    return source_.InfoOf(source_.NumberOf(field)).type == host::FieldType::Text;
  } catch (const host::HostError&) {
    return false;
  }
}

std::vector<FilterCondition> FilterWindowDialog::Conditions() const {
  std::vector<FilterCondition> conditions;
  for (const Row& row : rows_) {
    const int number = row.field->currentData().toInt();
    conditions.push_back({row.join->currentIndex() == 1, source_.InfoOf(number).name,
                          FromQt(row.op->currentText()), FromQt(row.value->text())});
  }
  return conditions;
}

void FilterWindowDialog::RowChanged() {
  writing_ = true;
  text_->setPlainText(
      ToQt(FilterText(Conditions(), [this](const std::string& field) { return IsText(field); })));
  writing_ = false;
  typedText_ = false;
  problem_->hide();
}

bool FilterWindowDialog::TakeTypedFilter() {
  // The rows would write over the typed text: it becomes rows first, or stays as it is.
  const std::string filter = FromQt(text_->toPlainText().trimmed());
  std::optional<std::vector<FilterCondition>> conditions = std::vector<FilterCondition>{};
  if (!filter.empty()) {
    std::optional<host::FilterProblem> problem;
    if (!services_.Run([&] { problem = source_.CheckFilter(filter); })) return false;
    if (problem) {
      ShowProblem(*problem);
      return false;
    }
    conditions =
        ParseConditions(filter, [this](const std::string& field) { return IsText(field); });
  }
  if (!conditions) {
    problem_->setText(
        tr("Conditions can be added only to a filter of plain conditions joined by "
           "AND or OR. Change this filter as text."));
    problem_->show();
    text_->setFocus();
    return false;
  }
  while (!rows_.empty()) {
    const Row first = rows_.front();
    RemoveCondition(first);
  }
  ShowConditions(*conditions);
  return true;
}

std::optional<host::ViewFinder> FilterWindowDialog::FinderOf(int field) const {
  const std::vector<host::Key>& keys = source_.Keys();
  for (size_t order = 0; order < keys.size(); ++order) {
    if (keys[order].fields.empty() || keys[order].fields.front() != field) continue;
    host::ViewFinder finder;
    finder.ViewID = source_.ViewID();
    finder.ViewOrder = static_cast<int>(order);
    finder.InitKeyType = 1;
    finder.DisplayFieldIDs = keys[order].fields;
    for (int number = 1; number <= std::min(source_.FieldCount(), kFinderExtraFields + 1);
         ++number) {
      auto& shown = finder.DisplayFieldIDs;
      if (std::find(shown.begin(), shown.end(), number) == shown.end()) shown.push_back(number);
    }
    finder.ReturnFieldIDs = {field};
    return finder;
  }
  return std::nullopt;
}

void FilterWindowDialog::ShowFinderButton(const Row& row) {
  row.finder->setVisible(FinderOf(row.field->currentData().toInt()).has_value());
}

void FilterWindowDialog::OpenFinder(const Row& row) {
  std::optional<host::ViewFinder> settings = FinderOf(row.field->currentData().toInt());
  if (!settings) return;
  if (!row.value->text().isEmpty()) settings->InitKeyValue = {FromQt(row.value->text())};
  FinderDialog* finder = nullptr;
  if (!services_.Run([&] { finder = new FinderDialog(*settings, services_, this); })) return;
  finder->setAttribute(Qt::WA_DeleteOnClose);
  QLineEdit* value = row.value;
  connect(finder, &QDialog::accepted, this, [this, finder, value] {
    value->setText(ToQt(finder->ChosenValue()));
    value->setFocus();
    RowChanged();
  });
  finder->open();
}

bool FilterWindowDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto& key = static_cast<QKeyEvent&>(*event);
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  if (watched == text_ && enter) {
    // A filter is one line: Enter accepts it as in every other box of the window.
    accept();
    return true;
  }
  if (key.key() == Qt::Key_F5 && key.modifiers() == Qt::NoModifier) {
    for (const Row& row : rows_) {
      if (row.value == watched) {
        OpenFinder(row);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FilterWindowDialog::accept() {
  const std::string filter = FromQt(text_->toPlainText().trimmed());
  if (!filter.empty()) {
    std::optional<host::FilterProblem> problem;
    if (!services_.Run([&] { problem = source_.CheckFilter(filter); })) return;
    if (problem) {
      ShowProblem(*problem);
      return;
    }
  }
  accepted_ = filter;
  QDialog::accept();
}

void FilterWindowDialog::ShowProblem(const host::FilterProblem& problem) {
  const std::string text = FromQt(text_->toPlainText());
  const std::string before = text.substr(0, std::min(problem.position, text.size()));
  const int at = static_cast<int>(ToQt(before).size());
  problem_->setText(ToQt(problem.message));
  problem_->show();
  QTextCursor cursor = text_->textCursor();
  cursor.setPosition(at);
  cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
  text_->setTextCursor(cursor);
  text_->setFocus();
}

std::string QtFilterWindow::Choose(host::DataSource& source, const std::string& startingFilter) {
  if (!services_) {
    throw host::HostError(host::HostError::kGeneralFailure, "The filter window is not ready.");
  }
  FilterWindowDialog dialog(source, startingFilter, *services_, parent_);
  return dialog.exec() == QDialog::Accepted ? dialog.Filter() : startingFilter;
}

}  // namespace gui::controls
