#include "gui/controls/GridTableModel.h"

#include "gui/controls/QtText.h"

namespace gui::controls {

GridTableModel::GridTableModel(host::GridControl& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
  connections_.push_back(grid_.CellChanged.Connect([this](int column, int row) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
  }));
  // The grid tells that rows or columns changed, not which: the table starts anew.
  connections_.push_back(grid_.RowsChanged.Connect([this] { Reset(); }));
  connections_.push_back(grid_.ColumnsChanged.Connect([this] { Reset(); }));
}

void GridTableModel::Reset() {
  beginResetModel();
  endResetModel();
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.RowsCount();
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= grid_.RowsCount() ||
      index.column() >= grid_.ColumnCount()) {
    return {};
  }
  if (role == Qt::DisplayRole) return ToQt(grid_.GetCellData(index.column(), index.row()));
  if (role == Qt::TextAlignmentRole) {
    const bool right = grid_.Column(index.column()).alignment == 1;
    return static_cast<int>(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  }
  if (section >= grid_.ColumnCount()) return {};
  const host::GridColumn& column = grid_.Column(section);
  if (role == Qt::DisplayRole) return ToQt(column.caption);
  if (role == Qt::TextAlignmentRole) {
    return static_cast<int>(Qt::AlignVCenter |
                            (column.alignment == 1 ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace gui::controls
