#pragma once

#include "host/DataSource.h"
#include "host/standin/StandinSession.h"

#include "standin/catalog/ViewCatalog.h"
#include "standin/database/ErpDataSource.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace host::standin {

/// A data source of the stand-in ERP seen through the host interface. Errors of the ERP are
/// raised as HostError with the ERP's message as description.
class StandinDataSource : public host::DataSource {
 public:
  /// The error number of a failure raised by the stand-in ERP's views.
  static constexpr std::int32_t kViewError = static_cast<std::int32_t>(0x80041001u);

  explicit StandinDataSource(std::string viewId,
                             const erp::ViewCatalog& catalog = erp::ViewCatalog::standard());
  ~StandinDataSource() override;

  std::string ViewID() const override { return viewId_; }
  void SetDBLink(std::shared_ptr<DatabaseLink> link) override;
  void SetParent(host::DataSource* parent) override;
  bool IsOpen() const override { return source_ != nullptr; }
  void SetOpen(bool open) override;

  std::string Description() const override { return view_.description; }
  std::int32_t Count(const std::string& filter, int flags) override;
  std::optional<FilterProblem> CheckFilter(const std::string& filter) const override;
  void Browse(const std::string& filter, bool ascending) override;
  bool Fetch(bool lock) override;
  void ClearRecord() override;
  bool Read() override;
  bool PendingChanges() const override;
  bool DetailChanges() const override;
  void Insert() override;
  void Update() override;
  void Delete() override;
  std::int32_t LastReturnCode() const override;

  int FieldCount() const override { return static_cast<int>(fields_.size()); }
  int KeyNumber() const override;
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
  erp::DataSource& Open() const;
  template <typename Action>
  auto Guarded(Action action) const -> decltype(action());

  std::string viewId_;
  const erp::ViewDef& view_;
  std::vector<FieldInfo> fields_;
  std::unordered_map<std::string, int> numbers_;  ///< field number by name
  std::vector<Key> keys_;
  std::shared_ptr<StandinDatabaseLink> link_;
  StandinDataSource* parent_ = nullptr;
  std::vector<StandinDataSource*> children_;
  std::unique_ptr<erp::DataSource> source_;
};

/// Makes stand-in data sources.
class StandinDataSourceFactory : public host::DataSourceFactory {
 public:
  std::unique_ptr<host::DataSource> NewDataSource(const std::string& viewId) override {
    return std::make_unique<StandinDataSource>(viewId);
  }
};

}  // namespace host::standin
