#pragma once

#include "gui/controls/ControlServices.h"
#include "gui/controls/FilterConditions.h"

#include "host/DataSource.h"
#include "host/controls/FilterWindow.h"
#include "host/controls/ViewFinder.h"

#include <QDialog>
#include <QPointer>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace gui::controls {

/// The ERP's filter window over the records of a data source's view: rows of a field (the
/// view's fields by description), a comparison and a value (with a finder where the field leads
/// one of the view's keys), joined by AND or OR. It shows the filter the rows make in the ERP's
/// syntax and takes that text edited by hand as well; OK refuses a filter the view cannot use
/// with the ERP's message and puts the cursor where the ERP stopped understanding it.
class FilterWindowDialog : public QDialog {
 public:
  /// A window on `source`, starting from `startingFilter` (shown in rows where it is made of
  /// plain conditions); `source` and `services` must outlive it.
  FilterWindowDialog(host::DataSource& source, const std::string& startingFilter,
                     ControlServices& services, QWidget* parent = nullptr);

  /// The filter the operator accepted, checked and whole; empty means no filter.
  const std::string& Filter() const { return accepted_; }

  /// Adds a condition row (the view's first field, "="); returns its index.
  int AddCondition();
  /// The Add Condition button: a filter typed as text first becomes rows (or is refused with
  /// the ERP's message and kept), then a row is added.
  QPushButton& AddButton() const { return *add_; }
  int ConditionCount() const { return static_cast<int>(rows_.size()); }
  QComboBox& JoinBox(int row) const { return *rows_.at(static_cast<size_t>(row)).join; }
  QComboBox& FieldBox(int row) const { return *rows_.at(static_cast<size_t>(row)).field; }
  QComboBox& OperatorBox(int row) const { return *rows_.at(static_cast<size_t>(row)).op; }
  QLineEdit& ValueBox(int row) const { return *rows_.at(static_cast<size_t>(row)).value; }
  QToolButton& FinderButton(int row) const { return *rows_.at(static_cast<size_t>(row)).finder; }
  QPlainTextEdit& FilterBox() const { return *text_; }
  /// Where a refusal is shown.
  QLabel& Problem() const { return *problem_; }

  /// Checks the filter text and closes the window when the view can use it.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Row {
    QComboBox* join = nullptr;
    QComboBox* field = nullptr;
    QComboBox* op = nullptr;
    QLineEdit* value = nullptr;
    QToolButton* finder = nullptr;
    QToolButton* remove = nullptr;
  };

  QWidget* BuildRows();
  void ShowConditions(const std::vector<FilterCondition>& conditions);
  void RemoveCondition(const Row& row);
  void LayOutRows();
  void RowChanged();
  void ShowFinderButton(const Row& row);
  void OpenFinder(const Row& row);
  std::optional<host::ViewFinder> FinderOf(int field) const;
  std::vector<FilterCondition> Conditions() const;
  bool IsText(const std::string& field) const;
  void ShowProblem(const host::FilterProblem& problem);
  /// Turns the filter typed as text into rows; false, with the reason shown, when it cannot be.
  bool TakeTypedFilter();

  host::DataSource& source_;
  ControlServices& services_;
  std::vector<Row> rows_;
  QGridLayout* rowsLayout_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* add_ = nullptr;
  std::string accepted_;
  bool writing_ = false;
  /// Whether the text holds what the operator typed rather than what the rows make.
  bool typedText_ = false;
};

/// The filter window as the program asks for it: modal over `parent`, giving back the filter the
/// operator accepted, or the starting filter when the operator cancelled. The program hands it
/// to its main window before signing on, so the services come later, with SetServices.
class QtFilterWindow : public host::FilterWindow {
 public:
  explicit QtFilterWindow(QWidget* parent = nullptr) : parent_(parent) {}

  /// The services the window works with once the program has signed on; nullptr before.
  void SetServices(ControlServices* services) { services_ = services; }

  /// Raises HostError while the window has no services.
  std::string Choose(host::DataSource& source, const std::string& startingFilter) override;

 private:
  ControlServices* services_ = nullptr;
  QPointer<QWidget> parent_;
};

}  // namespace gui::controls
