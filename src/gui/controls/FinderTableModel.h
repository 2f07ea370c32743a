#pragma once

#include "host/Signal.h"
#include "host/controls/Finder.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

namespace gui::controls {

/// The rows a finder holds as a table: one column per display field, captioned with the field's
/// description. Reading on at the end is the view's fetchMore; the rows follow every change of
/// the finder's window of pages.
class FinderTableModel : public QAbstractTableModel {
 public:
  /// Runs a reading of the finder and shows what it raises; true when it ended normally.
  using Runner = std::function<bool(const std::function<void()>&)>;

  /// `finder` must outlive the model.
  FinderTableModel(host::Finder& finder, Runner run, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  /// Reads the page before the first row held; false when there was none or it failed.
  bool FetchBefore();

 private:
  void AboutToChange(const host::FinderRowsChange& change);
  void Changed(const host::FinderRowsChange& change);

  host::Finder& finder_;
  Runner run_;
  QStringList captions_;
  bool failed_ = false;
  std::vector<host::ScopedConnection> connections_;
};

}  // namespace gui::controls
