#pragma once

#include "host/DataSource.h"
#include "host/controls/StandaloneField.h"

#include <memory>
#include <optional>
#include <string>

namespace host {

/// The field an edit control edits: nothing, a field of a view, or a stand-alone field.
class AccpacField {
 public:
  AccpacField() = default;
  AccpacField(Field field) : view_(field) {}
  AccpacField(std::shared_ptr<StandaloneField> field) : standalone_(std::move(field)) {}

  bool IsBound() const { return view_.has_value() || standalone_ != nullptr; }
  /// The view field, or nullptr when none is bound.
  const Field* ViewField() const { return view_ ? &*view_ : nullptr; }
  /// The stand-alone field, or nullptr when none is bound.
  StandaloneField* Standalone() const { return standalone_.get(); }

  /// The bound field's value; an unbound field raises HostError.
  Variant Value() const;
  /// The value as the operator sees it (a list field shows its presentation text).
  std::string Text() const;
  std::string Description() const;
  void PutWithVerification(const Variant& value);
  void PutWithoutVerification(const Variant& value);
  void Verify();

  /// Whether both are the same field: the same stand-alone field, or the same view field.
  bool operator==(const AccpacField& other) const;

 private:
  void RequireBound() const;

  std::optional<Field> view_;
  std::shared_ptr<StandaloneField> standalone_;
};

}  // namespace host
