#pragma once

#include "grids/ClassField.h"
#include "grids/ColumnTable.h"
#include "grids/ErrorReporter.h"
#include "grids/Operations.h"

#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/GridControl.h"

#include <cstdint>
#include <optional>
#include <string>

namespace grids {

/// A list of per-authority operations ("Insert", "Update" or "Delete" a detail row, with from
/// classes to match, to classes and tax-included flags to write) that the operator builds in a
/// grid. It keeps the rows consistent while the operator edits them and tells the conversion
/// which detail field each column maps to. The grid and the data sources are owned by the caller
/// and must outlive the object.
class TaxAuthorityGrid : private host::GridEvents {
 public:
  static constexpr const char* kYes = "Yes";
  static constexpr const char* kNo = "No";

  explicit TaxAuthorityGrid(ErrorDisplayFactory newErrorDisplay);
  ~TaxAuthorityGrid() override;
  TaxAuthorityGrid(const TaxAuthorityGrid&) = delete;
  TaxAuthorityGrid& operator=(const TaxAuthorityGrid&) = delete;

  const std::string& Name() const { return name_; }
  void Name(const std::string& name) { name_ = name; }

  host::GridControl* Grid() const { return grid_; }
  /// Takes the grid, starts new caption and alignment tables and adds the Operation and
  /// Authority columns.
  void Grid(host::GridControl* grid);
  host::DataSource* adsTXAUTH() const { return adsTXAUTH_; }
  /// Takes the tax authorities data source and gives the grid its session.
  void adsTXAUTH(host::DataSource* source);
  host::DataSource* adsTXCLASS() const { return adsTXCLASS_; }
  void adsTXCLASS(host::DataSource* source) { adsTXCLASS_ = source; }

  int AddColumn(const std::string& fieldName, const std::string& caption, std::int32_t alignment,
                int width, bool editable, bool finder);
  /// Adds a column of classes to match.
  int AddFromTaxClassColumn(const std::string& caption, int width, std::int16_t classType,
                            std::int16_t classAxis);
  /// Adds a column of classes to write.
  int AddToTaxClassColumn(const std::string& caption, int width, std::int16_t classType,
                          std::int16_t classAxis);
  /// Adds a "Yes"/"No" column that the operator toggles with the mouse or keys.
  int AddTaxIncludedColumn(const std::string& caption, int width);

  int OperationColumn() const { return operationColumn_; }
  int AuthorityColumn() const { return authorityColumn_; }
  const ColumnTable<ClassField>& TaxClassFieldsFrom() const { return taxClassFieldsFrom_; }
  const ColumnTable<ClassField>& TaxClassFieldsTo() const { return taxClassFieldsTo_; }
  const ColumnTable<ClassField>& TaxIncludedFields() const { return taxIncludedFields_; }
  const ColumnTable<std::string>& GridCaptions() const { return gridCaptions_; }
  const ColumnTable<std::int32_t>& GridAlignment() const { return gridAlignment_; }
  /// The column's ClassField in its table, or nullptr.
  const ClassField* GetTaxIncludedField(int column) const;
  const ClassField* GetTaxClassToField(int column) const;
  const ClassField* GetTaxClassFromField(int column) const;
  /// Sets the detail field position of a from or to class column; other columns are ignored.
  void SetTaxClassFieldIDX(int column, std::int32_t index);
  /// Sets the detail field position of a tax-included column; other columns are ignored.
  void SetTaxIncludedFieldIDX(int column, std::int32_t index);

  bool InsertMode() const { return insertMode_; }
  void InsertMode(bool on) { insertMode_ = on; }
  int InsertedRow() const { return insertedRow_; }
  void InsertedRow(int row) { insertedRow_ = row; }
  const std::string& LastValue() const { return lastValue_; }
  void LastValue(const std::string& value) { lastValue_ = value; }
  std::string Authority(int row) const;
  std::string Operation(int row) const;
  /// The operation of `row`; nothing when its cell names none.
  std::optional<grids::Operation> OperationOf(int row) const;

  host::DataSource* adsHeader() const { return adsHeader_; }
  /// Takes the header data source of a kind; empties the filter and zeroes the counters.
  void adsHeader(host::DataSource* source);
  host::DataSource* adsDetail() const { return adsDetail_; }
  /// Takes the detail data source of a kind and forgets every column's field position, so the
  /// positions are set after it.
  void adsDetail(host::DataSource* source);
  std::int32_t lAuhorityIDX() const { return lAuhorityIDX_; }
  void lAuhorityIDX(std::int32_t index) { lAuhorityIDX_ = index; }
  const std::string& Filter() const { return filter_; }
  /// Sets the kind's filter and zeroes the counters.
  void Filter(const std::string& filter);
  std::int32_t lRecords() const { return lRecords_; }
  void lRecords(std::int32_t count) { lRecords_ = count; }
  std::int32_t lUpdated() const { return lUpdated_; }
  void lUpdated(std::int32_t count) { lUpdated_ = count; }
  std::int32_t lSkipped() const { return lSkipped_; }
  void lSkipped(std::int32_t count) { lSkipped_ = count; }
  std::int32_t lFailed() const { return lFailed_; }
  void lFailed(std::int32_t count) { lFailed_ = count; }

  /// Adds an "Insert" row below the current one (the first row of an empty grid) and makes it
  /// the inserted row; returns its index.
  int Insert();
  /// Deletes the current row; host failures are ignored.
  void DELETE();
  /// Whether the row names an authority; a blank one is reported and shown.
  bool Validate(int row);
  /// Shows the error list of the tax authorities data source's session and empties it.
  void ShowErrors();
  /// Whether there is an operation to perform; the refusal goes into the error list (not shown).
  bool ValidateOperations();

 private:
  void OnFocusGained(host::GridControl& grid) override;
  void OnFocusLost(host::GridControl& grid) override;
  void OnBeforeRowChange(host::GridControl& grid, bool& mayLeave) override;
  /// Whether the row has no authority yet but other cells the operator changed.
  bool HalfEntered(int row) const;
  void OnRowLeft(host::GridControl& grid, int row) override;
  void OnBeforeCellEdit(host::GridControl& grid, int column, int row, bool& mayEdit) override;
  void OnCellClicked(host::GridControl& grid, int column, int row) override;
  void OnKeyPressed(host::GridControl& grid, int keyCode, int row, int column,
                    const std::string& text, bool shift, bool ctrl, bool alt) override;
  void OnFinderRequested(host::GridControl& grid, const std::string& fieldName, int column, int row,
                         host::FieldEditControl& editor) override;
  void OnEditorOpens(host::GridControl& grid, const std::string& fieldName, int column, int row,
                     host::FieldEditControl& editor) override;
  void OnEditorCloses(host::GridControl& grid, const std::string& fieldName, int column, int row,
                      host::FieldEditControl& editor, bool changed) override;

  int AddClassColumn(ColumnTable<ClassField>& table, const std::string& caption, int width,
                     std::int16_t classType, std::int16_t classAxis);
  /// Whether the cell may be edited under its row's operation; `granted` is the grid's own say.
  bool MayEdit(int column, int row, bool granted) const;
  /// What a class or tax-included column holds; nothing for the other columns.
  std::optional<CellRole> RoleOf(int column) const;
  /// Whether the row's operation uses cells of `role`; a row of no known operation uses all.
  bool Uses(int row, CellRole role) const;
  const ClassField* ClassColumn(int column) const;
  void SetClassCells(int row, const std::string& value);
  void SetTaxIncludedCells(int row, const std::string& value);
  bool TaxIncludedAllowed(int row);
  void ReportTaxIncludedNotAllowed(int row);
  void ToggleTaxIncluded(int column, int row);
  void ClickTaxIncluded(int column, int row);
  void PrepareOperationEditor(host::FieldEditControl& editor, int row);
  void PrepareAuthorityEditor(int column, int row, host::FieldEditControl& editor);
  void ValidateAuthorityCell(int column, int row, host::FieldEditControl& editor);
  void Report(const std::string& text);
  void ZeroCounters();
  std::string AuthorityDescription();

  ErrorReporter errors_;
  std::string name_;
  host::GridControl* grid_ = nullptr;
  host::DataSource* adsTXAUTH_ = nullptr;
  host::DataSource* adsTXCLASS_ = nullptr;
  host::DataSource* adsHeader_ = nullptr;
  host::DataSource* adsDetail_ = nullptr;
  int operationColumn_ = 0;
  int authorityColumn_ = 0;
  bool insertMode_ = false;
  int insertedRow_ = -1;
  std::string lastValue_;
  ColumnTable<ClassField> taxClassFieldsFrom_;
  ColumnTable<ClassField> taxClassFieldsTo_;
  ColumnTable<ClassField> taxIncludedFields_;
  ColumnTable<std::string> gridCaptions_;
  ColumnTable<std::int32_t> gridAlignment_;
  std::int32_t lAuhorityIDX_ = -1;
  std::string filter_;
  std::int32_t lRecords_ = 0;
  std::int32_t lUpdated_ = 0;
  std::int32_t lSkipped_ = 0;
  std::int32_t lFailed_ = 0;
};

}  // namespace grids
