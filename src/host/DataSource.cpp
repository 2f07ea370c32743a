#include "host/DataSource.h"

namespace host {

const FieldInfo& Field::Info() const {
  return source_->InfoOf(number_);
}
Variant Field::Value() const {
  return source_->ValueOf(number_);
}
void Field::PutWithVerification(const Variant& value) {
  source_->Put(number_, value, true);
}
void Field::PutWithoutVerification(const Variant& value) {
  source_->Put(number_, value, false);
}
void Field::Verify() {
  source_->Verify(number_);
}
Variant Field::LowestValue() const {
  return source_->LowestValueOf(number_);
}

Field DataSource::Fields(int number) {
  InfoOf(number);  // raises for an unknown number
  return Field(*this, number);
}

Field DataSource::Fields(const std::string& name) {
  return Field(*this, NumberOf(name));
}

}  // namespace host
