#pragma once

#include "grids/ClassField.h"
#include "grids/ColumnTable.h"
#include "grids/ErrorReporter.h"

#include "host/DataSource.h"
#include "host/controls/FieldEditControl.h"
#include "host/controls/GridControl.h"

#include <array>
#include <cstdint>
#include <string>

namespace grids {

/// One "from" or "to" tax-group mapping: the tax-group edit control, the grid of the group's
/// authorities with their tax classes, and the matching and writing of a header record's classes
/// during a conversion. It listens to the edit control and the grid; both, and the data sources,
/// are owned by the caller and must outlive the object.
class TaxGroupGrid : private host::GridEvents, private host::FieldEditEvents {
 public:
  /// Number of authorities of a tax group, and so of class and registration fields of a record.
  static constexpr int kAuthorities = 5;
  using Registrations = std::array<std::string, kAuthorities>;

  explicit TaxGroupGrid(ErrorDisplayFactory newErrorDisplay);
  ~TaxGroupGrid() override;
  TaxGroupGrid(const TaxGroupGrid&) = delete;
  TaxGroupGrid& operator=(const TaxGroupGrid&) = delete;

  const std::string& Name() const { return name_; }
  void Name(const std::string& name) { name_ = name; }

  host::GridControl* Grid() const { return grid_; }
  /// Takes the grid (nullptr for a mapping without classes), starts new caption and alignment
  /// tables and adds the Authority column.
  void Grid(host::GridControl* grid);
  host::DataSource* adsTXGRP() const { return adsTXGRP_; }
  /// Takes the tax groups data source, binds the edit control and gives the grid its session.
  void adsTXGRP(host::DataSource* source);
  host::FieldEditControl* afecTaxGroup() const { return afecTaxGroup_; }
  /// Takes the tax-group edit control and binds it.
  void afecTaxGroup(host::FieldEditControl* control);
  const std::string& Caption() const { return caption_; }
  /// Sets the mapping's label, also as the edit control's caption.
  void Caption(const std::string& caption);
  std::int16_t TransactionType() const { return transactionType_; }
  void TransactionType(std::int16_t type) { transactionType_ = type; }
  host::DataSource* adsTXCLASS() const { return adsTXCLASS_; }
  void adsTXCLASS(host::DataSource* source) { adsTXCLASS_ = source; }

  /// Adds a column (see GridCaptions, GridAlignment) and returns its index.
  int AddColumn(const std::string& fieldName, const std::string& caption, std::int32_t alignment,
                int width, bool editable, bool finder);
  /// Adds an editable class column with a finder for classes of the type and axis.
  int AddTaxClassColumn(const std::string& caption, int width, std::int16_t classType,
                        std::int16_t classAxis);
  const ColumnTable<ClassField>& TaxClassFields() const { return taxClassFields_; }
  const ColumnTable<std::string>& GridCaptions() const { return gridCaptions_; }
  const ColumnTable<std::int32_t>& GridAlignment() const { return gridAlignment_; }
  int AuthorityColumn() const { return authorityColumn_; }

  const std::string& LastValue() const { return lastValue_; }
  void LastValue(const std::string& value) { lastValue_ = value; }
  /// The Authority cell of `row`.
  std::string Authority(int row) const;

  host::DataSource* adsHeader() const { return adsHeader_; }
  /// Takes the header data source of a kind; empties the filter and the prefixes and zeroes the
  /// counters, so it is set first.
  void adsHeader(host::DataSource* source);
  const std::string& Filter() const { return filter_; }
  /// Sets the kind's filter and zeroes the counters.
  void Filter(const std::string& filter);
  std::int32_t lTaxGroupIDX() const { return lTaxGroupIDX_; }
  void lTaxGroupIDX(std::int32_t index) { lTaxGroupIDX_ = index; }
  const std::string& TaxClassFieldPrefix() const { return taxClassFieldPrefix_; }
  void TaxClassFieldPrefix(const std::string& prefix) { taxClassFieldPrefix_ = prefix; }
  const std::string& TaxRegistrationFieldPrefix() const { return taxRegistrationFieldPrefix_; }
  void TaxRegistrationFieldPrefix(const std::string& prefix) {
    taxRegistrationFieldPrefix_ = prefix;
  }

  std::int32_t lRecords() const { return lRecords_; }
  void lRecords(std::int32_t count) { lRecords_ = count; }
  std::int32_t lUpdated() const { return lUpdated_; }
  void lUpdated(std::int32_t count) { lUpdated_ = count; }
  std::int32_t lSkipped() const { return lSkipped_; }
  void lSkipped(std::int32_t count) { lSkipped_ = count; }
  std::int32_t lFailed() const { return lFailed_; }
  void lFailed(std::int32_t count) { lFailed_ = count; }

  /// Checks the edit control's tax group for the transaction type; the refusal goes into the
  /// error list (not shown).
  bool ValidateTaxGroup();
  /// Shows the error list of the tax groups data source's session and empties it.
  void ShowErrors();
  /// Whether the header record's classes are the grid's (a blank cell counts as no class), with
  /// no class beyond the grid's rows. True when there is no grid.
  bool TaxClassesMatch();
  /// Writes the grid's classes into the header record and 0 beyond its rows.
  void PutTaxClasses();
  /// Captures the header record's registrations with their authorities and classes, numbered
  /// from 1 without gaps.
  void GetTaxRegistrations();
  Registrations TaxRegistrationAuthorities() const { return registrationAuthorities_; }
  Registrations TaxRegistrationClasses() const { return registrationClasses_; }
  Registrations TaxRegistrationIDs() const { return registrationIDs_; }
  /// Entry `index` (1 to 5); any other index raises std::out_of_range.
  std::string GetTaxRegistrationAuthority(int index) const;
  std::string GetTaxRegistrationClass(int index) const;
  std::string GetTaxRegistrationID(int index) const;

  /// Rebuilds the rows from the edit control's tax group, each class at its default.
  void RefreshAuthorityRows();

 private:
  void OnValidate(host::FieldEditControl& control, bool& cancel) override;
  void OnFocusGained(host::GridControl& grid) override;
  void OnFinderRequested(host::GridControl& grid, const std::string& fieldName, int column, int row,
                         host::FieldEditControl& editor) override;
  void OnEditorOpens(host::GridControl& grid, const std::string& fieldName, int column, int row,
                     host::FieldEditControl& editor) override;
  void OnEditorCloses(host::GridControl& grid, const std::string& fieldName, int column, int row,
                      host::FieldEditControl& editor, bool changed) override;

  void BindTaxGroupField();
  void FillDefaultTaxClass(int column, int row);
  void Report(const std::string& text);
  void ZeroCounters();
  std::string ClassCell(int n) const;

  ErrorReporter errors_;
  std::string name_;
  host::GridControl* grid_ = nullptr;
  host::DataSource* adsTXGRP_ = nullptr;
  host::DataSource* adsTXCLASS_ = nullptr;
  host::DataSource* adsHeader_ = nullptr;
  host::FieldEditControl* afecTaxGroup_ = nullptr;
  std::string caption_;
  std::int16_t transactionType_ = 1;
  ColumnTable<ClassField> taxClassFields_;
  ColumnTable<std::string> gridCaptions_;
  ColumnTable<std::int32_t> gridAlignment_;
  int authorityColumn_ = 0;
  std::string lastValue_;
  std::string filter_;
  std::int32_t lTaxGroupIDX_ = -1;
  std::string taxClassFieldPrefix_;
  std::string taxRegistrationFieldPrefix_;
  std::int32_t lRecords_ = 0;
  std::int32_t lUpdated_ = 0;
  std::int32_t lSkipped_ = 0;
  std::int32_t lFailed_ = 0;
  Registrations registrationAuthorities_;
  Registrations registrationClasses_;
  Registrations registrationIDs_;
};

}  // namespace grids
