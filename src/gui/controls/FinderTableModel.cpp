#include "gui/controls/FinderTableModel.h"

#include "gui/controls/QtText.h"

namespace gui::controls {

FinderTableModel::FinderTableModel(host::Finder& finder, Runner run, QObject* parent)
    : QAbstractTableModel(parent), finder_(finder), run_(std::move(run)) {
  for (const std::string& caption : finder_.Captions()) captions_ << ToQt(caption);
  connections_.push_back(finder_.RowsAboutToChange.Connect(
      [this](const host::FinderRowsChange& change) { AboutToChange(change); }));
  connections_.push_back(finder_.RowsChanged.Connect(
      [this](const host::FinderRowsChange& change) { Changed(change); }));
}

int FinderTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(finder_.Rows().size());
}

int FinderTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant FinderTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const auto& cells = finder_.Rows()[static_cast<size_t>(index.row())].cells;
  if (index.column() >= static_cast<int>(cells.size())) return {};
  return ToQt(cells[static_cast<size_t>(index.column())]);
}

QVariant FinderTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return {};
  return section < captions_.size() ? captions_[section] : QVariant();
}

bool FinderTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !failed_ && finder_.MoreAfter();
}

void FinderTableModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid()) return;
  // A page that cannot be read stops the reading on; the rows held stay as they were.
  if (!run_([this] { finder_.FetchAfter(); })) failed_ = true;
}

bool FinderTableModel::FetchBefore() {
  if (failed_ || !finder_.MoreBefore()) return false;
  bool fetched = false;
  if (!run_([&] { fetched = finder_.FetchBefore(); })) failed_ = true;
  return fetched;
}

void FinderTableModel::AboutToChange(const host::FinderRowsChange& change) {
  const int last = change.first + change.count - 1;
  switch (change.kind) {
    case host::FinderRowsChange::Reset:
      failed_ = false;
      beginResetModel();
      break;
    case host::FinderRowsChange::Insert:
      beginInsertRows({}, change.first, last);
      break;
    case host::FinderRowsChange::Remove:
      beginRemoveRows({}, change.first, last);
      break;
  }
}

void FinderTableModel::Changed(const host::FinderRowsChange& change) {
  switch (change.kind) {
    case host::FinderRowsChange::Reset:
      endResetModel();
      break;
    case host::FinderRowsChange::Insert:
      endInsertRows();
      break;
    case host::FinderRowsChange::Remove:
      endRemoveRows();
      break;
  }
}

}  // namespace gui::controls
