#pragma once

#include "host/DataSource.h"
#include "host/webapi/FilterTranslation.h"
#include "host/webapi/PropertyMaps.h"
#include "host/webapi/RecordValues.h"
#include "host/webapi/WebApiLink.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host::webapi {

/// A business view read and changed through the ERP's Web API.
///
/// A header view is one entity set: reading by key is a GET of the record, and a browse first
/// collects the keys of every record of its filter (translated to `$filter`), then reads each
/// record by key as it is fetched, with the filter again, so that a record the run changes or
/// another user changes in between is seen as it is then, and paging never skips one. An update
/// sends the changed properties with PATCH, tax group before classes, and the detail rows'
/// inserts, updates and deletes with their `UpdateOperation`; just before, it reads the record's
/// tax data again and refuses, as the ERP does, when another user changed them since it was
/// read. A detail view is a collection of its header's record, changed with it. A put with
/// verification runs the view's checks against the tax tables read from the server.
class WebApiDataSource : public host::DataSource {
 public:
  /// The error number of a failure raised by a Web API view.
  static constexpr std::int32_t kViewError = static_cast<std::int32_t>(0x80041101u);

  /// A data source for `viewId` with the property names of `maps`, which must outlive it.
  WebApiDataSource(std::string viewId, const PropertyMaps& maps);
  ~WebApiDataSource() override;

  std::string ViewID() const override { return viewId_; }
  void SetDBLink(std::shared_ptr<DatabaseLink> link) override;
  void SetParent(host::DataSource* parent) override;
  bool IsOpen() const override { return open_; }
  void SetOpen(bool open) override;

  std::string Description() const override;
  std::int32_t Count(const std::string& filter, int flags) override;
  std::optional<FilterProblem> CheckFilter(const std::string& filter) const override;
  std::optional<std::string> ConversionProblem() const override;
  void Browse(const std::string& filter, bool ascending) override;
  bool Fetch(bool lock) override;
  void ClearRecord() override;
  bool Read() override;
  bool PendingChanges() const override;
  bool DetailChanges() const override;
  void Insert() override;
  void Update() override;
  void Delete() override;
  std::int32_t LastReturnCode() const override { return lastReturnCode_; }

  int FieldCount() const override { return static_cast<int>(fields_.size()); }
  int KeyNumber() const override { return keyNumber_; }
  void SetKeyNumber(int number) override;
  const std::vector<Key>& Keys() const override { return keys_; }
  host::Session& Session() const override;

  const FieldInfo& InfoOf(int number) const override;
  int NumberOf(const std::string& name) const override;
  Variant ValueOf(int number) const override;
  void Put(int number, const Variant& value, bool verify) override;
  void Verify(int number) override;
  Variant LowestValueOf(int number) const override;

 private:
  /// A change of a detail row waiting for its header's update.
  struct RowChange {
    enum class Kind { Insert, Update, Delete } kind;
    FieldValues values;
    FieldValues original;  ///< an update's row as read
  };
  /// A record of the browse: the values of the browse's key, then those of the primary key.
  struct BrowseEntry {
    FieldValues order;
    FieldValues key;
  };

  [[noreturn]] void Raise(const std::string& message, std::optional<std::int32_t> code = {}) const;
  WebApiLink& Link() const;
  /// The map of the view's entity set, or of its header's for a detail; raises HostError when
  /// the server does not let the program read it.
  const EntityMap& Map() const;
  /// Raises HostError unless the view is a header view the server lets the program browse.
  void RequireHeader() const;
  const FieldLayout& Layout(int number) const;
  template <typename Action>
  auto Guarded(Action action) const -> decltype(action());

  ODataFilter Translated(const std::string& filter) const;
  std::vector<BrowseEntry> Collect(const ODataFilter& filter) const;
  std::optional<RecordValues> ReadRecord(const FieldValues& key, const ODataFilter& filter) const;
  void Take(RecordValues record);
  void RequireWritable(const char* action) const;
  void RequireCurrent(const char* action) const;
  RecordWrite ChangesToSave() const;

  // The detail side.
  std::vector<FieldValues>& Rows() const;
  std::vector<RowChange>& Changes() const;
  void LinkToHeader();
  std::vector<FieldValues>::iterator RowOf(std::vector<FieldValues>& rows,
                                           const FieldValues& key) const;
  void InsertRow();
  void UpdateRow();
  void DeleteRow();

  std::string viewId_;
  const PropertyMaps& maps_;
  const ViewLayout* layout_ = nullptr;
  const EntityMap* map_ = nullptr;    ///< of a header view
  const EntityMap* owner_ = nullptr;  ///< of a detail view: its header's map
  size_t rowsIndex_ = 0;
  std::vector<FieldInfo> fields_;
  std::vector<Key> keys_;
  std::shared_ptr<WebApiLink> link_;
  WebApiDataSource* parent_ = nullptr;
  std::vector<WebApiDataSource*> children_;
  bool open_ = false;
  int keyNumber_ = 0;
  mutable std::int32_t lastReturnCode_ = 0;

  FieldValues values_;
  bool current_ = false;
  // A header's record as read, its rows as they will be saved, and the changes of its rows.
  RecordValues read_;
  mutable std::vector<std::vector<FieldValues>> rows_;
  mutable std::vector<std::vector<RowChange>> changes_;
  // A detail's row as read.
  FieldValues readRow_;
  // The browse: the records of its filter, the next one, and the count's records kept for it.
  std::vector<BrowseEntry> browse_;
  size_t next_ = 0;
  ODataFilter browseFilter_;
  std::optional<std::pair<std::string, std::vector<BrowseEntry>>> counted_;
};

/// Makes Web API data sources.
class WebApiDataSourceFactory : public host::DataSourceFactory {
 public:
  /// `maps` must outlive the factory and every data source it makes.
  explicit WebApiDataSourceFactory(const PropertyMaps& maps) : maps_(maps) {}
  std::unique_ptr<host::DataSource> NewDataSource(const std::string& viewId) override {
    return std::make_unique<WebApiDataSource>(viewId, maps_);
  }

 private:
  const PropertyMaps& maps_;
};

}  // namespace host::webapi
