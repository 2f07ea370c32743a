#pragma once

#include "host/DatabaseLink.h"
#include "host/Session.h"
#include "host/Variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {

class DataSource;

/// Storage type of a view field.
enum class FieldType { Text, Int16, Int32, Decimal, Date, Boolean };

/// What a view declares about one of its fields.
/// One entry of a list field's presentation list: the stored value and the text shown for it.
struct PresentationEntry {
  std::int64_t value = 0;
  std::string text;
  bool operator==(const PresentationEntry&) const = default;
};

struct FieldInfo {
  int index = 0;  ///< the field's number, from 1
  std::string name;
  std::string description;
  FieldType type = FieldType::Text;
  int size = 0;
  /// The texts shown for the values of a field that takes one of a list (a status, a yes/no
  /// flag); empty for other fields.
  std::vector<PresentationEntry> presentation = {};
  bool operator==(const FieldInfo&) const = default;
};

/// A key of a view: its fields, by number, in key order.
struct Key {
  std::string name;
  std::vector<int> fields;
  int FieldCount() const { return static_cast<int>(fields.size()); }
};

/// Why a view cannot use a browse filter: the ERP's message, which names the position in the
/// filter where it stopped understanding it.
struct FilterProblem {
  std::string message;
  std::size_t position = 0;  ///< 0-based offset into the filter
};

/// A field of a data source's view, as the program handles it.
class Field {
 public:
  Field(DataSource& source, int number) : source_(&source), number_(number) {}

  int Index() const { return number_; }
  const FieldInfo& Info() const;
  std::string Name() const { return Info().name; }
  std::string Description() const { return Info().description; }
  int Size() const { return Info().size; }
  Variant Value() const;
  std::string Text() const { return VariantText(Value()); }
  /// Stores the value after the ERP's checks; a refused value raises HostError.
  void PutWithVerification(const Variant& value);
  /// Stores the value without the ERP's checks.
  void PutWithoutVerification(const Variant& value);
  /// Runs the ERP's checks on the current value (an item number is unformatted).
  void Verify();
  /// The smallest value the field can hold.
  Variant LowestValue() const;
  DataSource& Source() const { return *source_; }

 private:
  DataSource* source_;
  int number_;
};

/// A data source: one business view of the ERP opened on a database link. Every failure raises
/// HostError; the ERP's messages collect in the session's error list.
class DataSource {
 public:
  virtual ~DataSource() = default;

  virtual std::string ViewID() const = 0;
  /// Sets the database link, before the data source is opened.
  virtual void SetDBLink(std::shared_ptr<DatabaseLink> link) = 0;
  /// Configures the header data source this detail data source is composed with.
  virtual void SetParent(DataSource* parent) = 0;
  virtual bool IsOpen() const = 0;
  /// Opens (true) or closes (false) the view on the database link.
  virtual void SetOpen(bool open) = 0;

  virtual std::string Description() const = 0;
  /// Number of records that satisfy the filter.
  virtual std::int32_t Count(const std::string& filter, int flags) = 0;
  /// Checks a browse filter against the view without reading anything; nothing when the view
  /// can use it.
  virtual std::optional<FilterProblem> CheckFilter(const std::string& filter) const = 0;
  /// Why the view's records cannot be converted through its link (a link that does not offer
  /// the fields a conversion changes), naming what is missing; nothing when they can.
  virtual std::optional<std::string> ConversionProblem() const { return std::nullopt; }
  /// Positions before the first record of the filter from the current key values.
  virtual void Browse(const std::string& filter, bool ascending) = 0;
  /// Fetches the next record of the browse; false when there is none.
  virtual bool Fetch(bool lock) = 0;
  /// Blanks the record buffer.
  virtual void ClearRecord() = 0;
  /// Reads the record with the key fields put; true when it exists.
  virtual bool Read() = 0;
  /// True when the current record was changed since it was read.
  virtual bool PendingChanges() const = 0;
  /// True when changes were made through this detail data source.
  virtual bool DetailChanges() const = 0;
  virtual void Insert() = 0;
  virtual void Update() = 0;
  virtual void Delete() = 0;
  virtual std::int32_t LastReturnCode() const = 0;

  virtual int FieldCount() const = 0;
  /// The field with this number (from 1); an unknown number raises HostError.
  Field Fields(int number);
  /// The field with this name; an unknown name raises HostError.
  Field Fields(const std::string& name);
  virtual int KeyNumber() const = 0;
  virtual void SetKeyNumber(int number) = 0;
  virtual const std::vector<Key>& Keys() const = 0;
  /// The session the data source works in.
  virtual host::Session& Session() const = 0;

  // The field operations behind Field.
  virtual const FieldInfo& InfoOf(int number) const = 0;
  virtual int NumberOf(const std::string& name) const = 0;
  virtual Variant ValueOf(int number) const = 0;
  virtual void Put(int number, const Variant& value, bool verify) = 0;
  virtual void Verify(int number) = 0;
  virtual Variant LowestValueOf(int number) const = 0;
};

/// Creates the platform's data source for a view ID, not yet opened.
class DataSourceFactory {
 public:
  virtual ~DataSourceFactory() = default;
  virtual std::unique_ptr<DataSource> NewDataSource(const std::string& viewId) = 0;
};

}  // namespace host
