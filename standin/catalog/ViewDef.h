#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace erp {

/// Storage type of a view field, as the ERP declares it.
enum class FieldType { Text, Int16, Int32, Decimal, Date, Boolean };

/// What a put with verification checks (or normalises) for a field.
enum class Check {
  None,
  UpperCode,            ///< a code: upper-cased on verify
  ItemNumber,           ///< an item number: upper-cased and its mask separators removed on verify
  TaxGroup,             ///< must exist in TX0003 for transaction type `ttype`
  TaxAuthority,         ///< must exist in TX0002
  TaxClassOfGroup,      ///< class of authority `slot` of the tax group in field `ref` (type, axis)
  TaxClassOfAuthority,  ///< class of the authority in field `ref` (type `ttype`, axis `axis`)
  TaxIncluded,          ///< true only where the authority in field `ref` allows tax in price
  Currency,             ///< must exist in CS0003
};

/// One field of a view; `number` counts from 1 and is the field's position in the view.
/// A value of a list field with the text the ERP shows for it.
struct PresentationItem {
  std::int64_t value = 0;
  std::string text;
};

struct FieldDef {
  int number = 0;
  std::string name;
  std::string description;
  FieldType type = FieldType::Text;
  int size = 0;  ///< characters for text, bytes for numbers
  Check check = Check::None;
  int ref = 0;    ///< field number that the check reads (tax group or authority field)
  int ttype = 0;  ///< transaction / class type for tax checks (1 sales, 2 purchases)
  int axis = 0;   ///< class axis for class checks
  int slot = 0;   ///< authority slot 1..5 for TaxClassOfGroup
  /// The texts shown for the values of a field that takes one of a list; empty for others.
  std::vector<PresentationItem> presentation = {};
};

/// A key of a view: its name and its fields (field numbers) in key order.
struct KeyDef {
  std::string name;
  std::vector<int> fields;
};

/// A detail view's link to its header: the detail's first key fields equal the header's key 0
/// fields in order, and a detail record exists only under its header record.
struct Composition {
  std::string headerView;
};

/// A business view of the ERP: ID, description, fields, keys (key 0 is the primary key).
struct ViewDef {
  std::string id;
  std::string description;
  std::vector<FieldDef> fields;  ///< fields[i].number == i + 1
  std::vector<KeyDef> keys;
  std::optional<Composition> composition;
  bool singleRecord = false;  ///< an options view: one record, no key values

  const FieldDef* field(int number) const;
  const FieldDef* field(const std::string& name) const;
};

}  // namespace erp
