#include "gui/controls/FinderDialog.h"

#include "gui/controls/QtText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace gui::controls {
namespace {

/// How long the typing in the search box must pause before the list follows it.
constexpr int kSearchDelayMs = 250;
/// How close to the first row held the view may come before the page before it is read (at
/// most half a page, so that a page read at the end never brings the view that close).
constexpr int kRowsKeptAbove = 10;
/// The widest a column starts, in average characters.
constexpr int kWidestColumnChars = 40;

std::vector<int> Distinct(const std::vector<int>& fields) {
  std::vector<int> distinct;
  for (int field : fields) {
    if (std::find(distinct.begin(), distinct.end(), field) == distinct.end()) {
      distinct.push_back(field);
    }
  }
  return distinct;
}

}  // namespace

FinderDialog::FinderDialog(const host::ViewFinder& settings, ControlServices& services,
                           QWidget* parent, host::FinderPaging paging)
    : QDialog(parent),
      services_(services),
      source_(services.FinderSource(settings.ViewID)),
      paging_{std::max(1, paging.pageRows), std::max(2, paging.pagesHeld)},
      finder_(settings, source_, paging_),
      model_(finder_,
             [&services](const std::function<void()>& read) { return services.Run(read); }) {
  setWindowTitle(tr("Finder - %1").arg(ToQt(source_.Description())));
  finder_.Refresh();

  table_ = new QTableView(this);
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  table_->setTabKeyNavigation(false);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->horizontalHeader()->setHighlightSections(false);
  // Enter reaches the default button; a click that activates on some styles must not pick.
  connect(table_, &QAbstractItemView::doubleClicked, this, [this] { Choose(); });
  connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this] { ReadBeforeWhenNearTop(); });
  connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { ReadBeforeWhenNearTop(); });
  connections_.push_back(finder_.RowsAboutToChange.Connect(
      [this](const host::FinderRowsChange& change) { RememberTopRow(change); }));
  connections_.push_back(finder_.RowsChanged.Connect(
      [this](const host::FinderRowsChange& change) { KeepTopRow(change); }));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  QPushButton* select = buttons->addButton(tr("&Select"), QDialogButtonBox::AcceptRole);
  select->setDefault(true);
  connect(select, &QPushButton::clicked, this, [this] { Choose(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  const std::vector<int> searchFields = Distinct(settings.SearchFieldIDs);
  if (!searchFields.empty()) layout->addWidget(BuildSearchRow(source_, searchFields));
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);

  searchDelay_.setSingleShot(true);
  searchDelay_.setInterval(kSearchDelayMs);
  connect(&searchDelay_, &QTimer::timeout, this, [this] { Search(); });

  const QFontMetrics metrics = fontMetrics();
  resize(metrics.averageCharWidth() * 110, metrics.height() * 26);
  SizeColumns();
  ShowInitialRow();
  if (searchText_) {
    searchText_->setFocus();
  } else {
    table_->setFocus();
  }
}

QWidget* FinderDialog::BuildSearchRow(host::DataSource& source, const std::vector<int>& fields) {
  auto* row = new QWidget(this);
  searchField_ = new QComboBox(row);
  for (int field : fields) searchField_->addItem(ToQt(source.InfoOf(field).description), field);
  searchMode_ = new QComboBox(row);
  searchMode_->addItem(tr("Starts with"), static_cast<int>(host::SearchMode::StartsWith));
  searchMode_->addItem(tr("Contains"), static_cast<int>(host::SearchMode::Contains));
  searchText_ = new QLineEdit(row);
  searchText_->setClearButtonEnabled(true);
  auto* fieldLabel = new QLabel(tr("Find &by:"), row);
  fieldLabel->setBuddy(searchField_);
  auto* textLabel = new QLabel(tr("&Look for:"), row);
  textLabel->setBuddy(searchText_);

  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(fieldLabel);
  layout->addWidget(searchField_);
  layout->addWidget(searchMode_);
  layout->addSpacing(fontMetrics().averageCharWidth() * 2);
  layout->addWidget(textLabel);
  layout->addWidget(searchText_, 1);

  searchText_->installEventFilter(this);
  connect(searchText_, &QLineEdit::textEdited, this, [this] { searchDelay_.start(); });
  // Enter runs a search still waiting; the dialog's default button then picks the record.
  connect(searchText_, &QLineEdit::returnPressed, this, [this] {
    if (searchDelay_.isActive()) Search();
  });
  connect(searchField_, &QComboBox::activated, this, [this] { SearchFieldChosen(); });
  connect(searchMode_, &QComboBox::activated, this, [this] { Search(); });
  SearchFieldChosen();
  setTabOrder(searchField_, searchMode_);
  setTabOrder(searchMode_, searchText_);
  setTabOrder(searchText_, table_);
  return row;
}

bool FinderDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != searchText_ || event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  auto& key = static_cast<QKeyEvent&>(*event);
  switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      // The operator keeps typing and moves through the list without leaving the box; the
      // list first follows what was typed, so that the move is within the rows that match.
      if (searchDelay_.isActive()) Search();
      QCoreApplication::sendEvent(table_, event);
      return true;
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void FinderDialog::SearchFieldChosen() {
  const int field = searchField_->currentData().toInt();
  const bool text = source_.InfoOf(field).type == host::FieldType::Text;
  // A number field is searched for the whole number typed, so only a number can be typed.
  searchMode_->setEnabled(text);
  if (text) {
    searchText_->setValidator(nullptr);
  } else {
    static const QRegularExpression number(QStringLiteral("-?[0-9]*([.][0-9]*)?"));
    searchText_->setValidator(new QRegularExpressionValidator(number, searchText_));
    searchText_->clear();
  }
  if (!searchText_->text().isEmpty()) Search();
}

void FinderDialog::Search() {
  searchDelay_.stop();
  if (!searchText_) return;
  host::FinderSearch search;
  const std::string text = FromQt(searchText_->text());
  if (!text.empty() && text != "-" && text != ".") {
    search.field = searchField_->currentData().toInt();
    search.text = text;
    search.mode = static_cast<host::SearchMode>(searchMode_->currentData().toInt());
  }
  if (services_.Run([&] { finder_.Refresh(search); })) ShowInitialRow();
}

void FinderDialog::Choose() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid() || picked_) return;
  services_.Run([&] {
    chosen_ = finder_.Choose(current.row());
    picked_ = true;
    accept();
  });
}

void FinderDialog::ShowInitialRow() {
  if (finder_.Rows().empty()) return;
  const int row = std::max(0, finder_.InitialRow());
  const QModelIndex index = model_.index(row, 0);
  table_->setCurrentIndex(index);
  table_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FinderDialog::SizeColumns() {
  table_->resizeColumnsToContents();
  const int widest = fontMetrics().averageCharWidth() * kWidestColumnChars;
  QHeaderView* header = table_->horizontalHeader();
  for (int column = 0; column < header->count(); ++column) {
    if (header->sectionSize(column) > widest) header->resizeSection(column, widest);
  }
}

void FinderDialog::ReadBeforeWhenNearTop() {
  if (readingBefore_) return;
  readingBefore_ = true;
  const int top = table_->rowAt(0);
  int bottom = table_->rowAt(table_->viewport()->height() - 1);
  if (bottom < 0) bottom = model_.rowCount() - 1;
  // The page read drops as many rows at the end, which must not be rows the operator sees.
  const bool seenRowsStay = bottom + paging_.pageRows < paging_.pageRows * paging_.pagesHeld;
  if (top >= 0 && top < std::min(kRowsKeptAbove, paging_.pageRows / 2) && seenRowsStay) {
    model_.FetchBefore();
  }
  readingBefore_ = false;
}

void FinderDialog::RememberTopRow(const host::FinderRowsChange&) {
  topRow_ = table_->rowAt(0);
}

void FinderDialog::KeepTopRow(const host::FinderRowsChange& change) {
  // Rows read or dropped above the view would move what the operator is looking at.
  if (change.kind == host::FinderRowsChange::Reset || change.first != 0 || topRow_ < 0) return;
  const int top = change.kind == host::FinderRowsChange::Insert ? topRow_ + change.count
                                                                : topRow_ - change.count;
  if (top < 0 || top >= model_.rowCount()) return;
  table_->doItemsLayout();
  table_->scrollTo(model_.index(top, 0), QAbstractItemView::PositionAtTop);
}

}  // namespace gui::controls
