#pragma once

#include "host/DataSource.h"
#include "host/Signal.h"
#include "host/Variant.h"

#include <string>
#include <vector>

namespace host {

/// How a text value is normalised when it is verified.
enum class FieldMask { None, Code, ItemNumber };

/// A field of the ERP's field-edit library that belongs to no record: it takes its definition
/// from a view field (or from the ERP's type codes) and holds one value for an edit control.
/// Changes of its value and of its definition are announced, whoever makes them.
class StandaloneField {
 public:
  StandaloneField() = default;
  StandaloneField(const StandaloneField&) = delete;
  StandaloneField& operator=(const StandaloneField&) = delete;

  /// Type codes of the ERP's field definition.
  static constexpr int kTypeText = 1;
  static constexpr int kTypeDate = 3;
  static constexpr int kTypeDecimal = 6;
  static constexpr int kTypeInt16 = 7;
  static constexpr int kTypeInt32 = 8;
  static constexpr int kTypeBoolean = 9;
  /// Definition items that take a text.
  static constexpr int kItemDescription = 1;
  static constexpr int kItemName = 2;

  /// Takes type, size, name, description and mask from a view field; the value becomes blank.
  void DefineLike(const Field& field);
  /// Defines the field from the ERP's type code and size; the value becomes blank.
  void Define(int typeCode, int size);
  /// Sets the name (item 2) or the description (item 1) of the definition.
  void SetDefinitionText(int item, const std::string& text);
  /// Sets the ERP's attribute flags of the field (kept for the edit control that draws it).
  void SetAttributeValue(int attributes) {
    AssignAndNotify(attributes_, attributes, DefinitionChanged);
  }
  int AttributeValue() const { return attributes_; }
  void SetMask(FieldMask mask) { AssignAndNotify(mask_, mask, DefinitionChanged); }
  FieldMask Mask() const { return mask_; }

  const FieldInfo& Info() const { return info_; }
  std::string Name() const { return info_.name; }
  std::string Description() const { return info_.description; }
  int Size() const { return info_.size; }

  /// Empties the presentation list.
  void ClearPresentationList();
  /// Adds a choice to the presentation list; a list field accepts only listed values.
  void AddPresentation(std::int64_t value, const std::string& text);
  const std::vector<PresentationEntry>& PresentationList() const { return presentation_; }

  Variant Value() const { return value_; }
  /// The value as the operator sees it: the presentation text of a list value, else the value.
  std::string Text() const;
  /// Stores the value after the ERP's checks (type, size, mask, list); a refusal raises
  /// HostError and keeps the previous value.
  void PutWithVerification(const Variant& value);
  /// Stores the value converted to the field's type, cut to its size; only a value that cannot be
  /// converted at all raises HostError.
  void PutWithoutVerification(const Variant& value);
  /// Runs the checks of PutWithVerification on the current value.
  void Verify() { PutWithVerification(value_); }

  /// The value changed.
  Signal<> ValueChanged;
  /// The type, size, texts, mask, attributes or presentation list changed.
  Signal<> DefinitionChanged;

 private:
  Variant Converted(const Variant& value, bool verify) const;
  Variant Blank() const;
  void Redefine(FieldInfo info, FieldMask mask);

  FieldInfo info_;
  FieldMask mask_ = FieldMask::None;
  int attributes_ = 0;
  std::vector<PresentationEntry> presentation_;
  Variant value_ = std::string();
};

/// The item number without its mask separators, upper-cased and without trailing blanks.
std::string UnformatItemNumber(const std::string& text);

}  // namespace host
