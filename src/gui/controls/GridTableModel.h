#pragma once

#include "host/Signal.h"
#include "host/controls/GridControl.h"

#include <QAbstractTableModel>

#include <vector>

namespace gui::controls {

/// The cells of a grid control as a table, with the columns' captions and alignments; it
/// follows every change of the grid, whoever makes it. Cells are edited through the grid's
/// editor, never through the table.
class GridTableModel : public QAbstractTableModel {
 public:
  /// `grid` must outlive the model.
  explicit GridTableModel(host::GridControl& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void Reset();

  host::GridControl& grid_;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
