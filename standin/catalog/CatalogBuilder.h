#pragma once

#include "standin/catalog/ViewDef.h"

#include <initializer_list>
#include <string>

namespace erp {

/// A field name with its description, for the list forms of ViewBuilder.
struct Named {
  const char* name;
  const char* description;
};

/// Builds a ViewDef field by field: numbers the fields in order and resolves keys by field name.
class ViewBuilder {
 public:
  ViewBuilder(std::string id, std::string description);

  /// Fails unless the next field gets `number`, so the data states the positions it relies on.
  ViewBuilder& at(int number);

  ViewBuilder& text(const std::string& name, const std::string& description, int size,
                    Check check = Check::None);
  ViewBuilder& int16(const std::string& name, const std::string& description);
  ViewBuilder& int32(const std::string& name, const std::string& description);
  ViewBuilder& decimal(const std::string& name, const std::string& description);
  ViewBuilder& date(const std::string& name, const std::string& description);
  /// A yes/no flag, shown as No and Yes.
  ViewBuilder& boolean(const std::string& name, const std::string& description);
  /// A record's status (an integer), shown as Inactive (0) and Active (1).
  ViewBuilder& status(const std::string& name, const std::string& description);

  /// Several text fields of one size.
  ViewBuilder& texts(int size, std::initializer_list<Named> fields);
  /// Several fields of one numeric, date or Boolean type.
  ViewBuilder& many(FieldType type, std::initializer_list<Named> fields);
  /// Fields NAME1..NAMEn described "Description 1".."Description n" (numbered ERP groups).
  ViewBuilder& series(const std::string& name, const std::string& description, int count,
                      FieldType type, int textSize = 0);

  /// A key code: upper-cased on verify.
  ViewBuilder& code(const std::string& name, const std::string& description, int size);
  /// An inventory item number (24 characters), unformatted on verify.
  ViewBuilder& itemNumber(const std::string& name, const std::string& description);
  /// A currency code that must exist.
  ViewBuilder& currency(const std::string& name, const std::string& description);
  /// A tax group that must exist for transaction type `ttype`.
  ViewBuilder& taxGroup(const std::string& name, int ttype);
  /// Five class fields PREFIX1..PREFIX5 checked against the authorities of the group field.
  ViewBuilder& taxClassesOfGroup(const std::string& prefix, const std::string& groupField);
  /// A tax authority that must exist.
  ViewBuilder& taxAuthority(const std::string& name);
  /// A tax class of the authority in `authorityField` with the given class type and axis.
  ViewBuilder& taxClassOf(const std::string& name, const std::string& description,
                          const std::string& authorityField, int ttype, int axis);
  /// A tax-included flag, allowed only where the authority in `authorityField` allows it.
  ViewBuilder& taxIncluded(const std::string& name, const std::string& authorityField);

  /// The columns of an optional-field view (OPTFIELD, VALUE, TYPE, ...) after its parent's keys.
  ViewBuilder& optionalFieldColumns();

  /// Adds a key made of the named fields, in key order (the first key is key 0).
  ViewBuilder& key(const std::string& name, std::initializer_list<const char*> fields);
  /// Makes the view a detail of `headerView`.
  ViewBuilder& detailOf(const std::string& headerView);
  /// Makes the view an options view holding one record.
  ViewBuilder& singleRecord();

  /// The finished view.
  ViewDef build() const { return view_; }

 private:
  FieldDef& add(const std::string& name, const std::string& description, FieldType type, int size);
  const FieldDef& named(const std::string& name) const;

  ViewDef view_;
};

}  // namespace erp
