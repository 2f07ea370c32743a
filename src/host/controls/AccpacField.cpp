#include "host/controls/AccpacField.h"

#include "host/HostError.h"

namespace host {

void AccpacField::RequireBound() const {
  if (!IsBound()) {
    throw HostError(HostError::kGeneralFailure, "The edit control has no field bound.");
  }
}

Variant AccpacField::Value() const {
  RequireBound();
  return view_ ? view_->Value() : standalone_->Value();
}

std::string AccpacField::Text() const {
  RequireBound();
  return view_ ? view_->Text() : standalone_->Text();
}

std::string AccpacField::Description() const {
  RequireBound();
  return view_ ? view_->Description() : standalone_->Description();
}

void AccpacField::PutWithVerification(const Variant& value) {
  RequireBound();
  if (view_) {
    view_->PutWithVerification(value);
  } else {
    standalone_->PutWithVerification(value);
  }
}

void AccpacField::PutWithoutVerification(const Variant& value) {
  RequireBound();
  if (view_) {
    view_->PutWithoutVerification(value);
  } else {
    standalone_->PutWithoutVerification(value);
  }
}

void AccpacField::Verify() {
  RequireBound();
  if (view_) {
    view_->Verify();
  } else {
    standalone_->Verify();
  }
}

bool AccpacField::operator==(const AccpacField& other) const {
  if (standalone_ != other.standalone_ || view_.has_value() != other.view_.has_value()) {
    return false;
  }
  return !view_ ||
         (&view_->Source() == &other.view_->Source() && view_->Index() == other.view_->Index());
}

}  // namespace host
