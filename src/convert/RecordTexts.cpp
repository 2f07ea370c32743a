#include "convert/RecordTexts.h"

#include <cstdint>

namespace convert {
namespace {

const host::Key& CurrentKey(host::DataSource& source) {
  return source.Keys().at(static_cast<size_t>(source.KeyNumber()));
}

}  // namespace

std::string GetRecordKey(host::DataSource& source) {
  std::string key;
  for (int number : CurrentKey(source).fields) {
    if (!key.empty()) key += "-";
    key += source.Fields(number).Text();
  }
  return key;
}

void ResetKeyFields(host::DataSource& source) {
  for (int number : CurrentKey(source).fields) {
    host::Field field = source.Fields(number);
    field.PutWithoutVerification(field.LowestValue());
  }
}

std::string ConvertingText(host::DataSource& source) {
  return "Converting " + source.Description() + " " + GetRecordKey(source) + "...";
}

std::string SkippedText(host::DataSource& source) {
  return "Convert " + source.Description() + " " + GetRecordKey(source) +
         " skipped. Tax classes do not match.";
}

std::string SucceededText(host::DataSource& source) {
  return "Convert " + source.Description() + " " + GetRecordKey(source) + " succeeded.";
}

std::string FailedText(host::DataSource& source) {
  auto code = static_cast<std::int16_t>(source.LastReturnCode());
  return "Convert " + source.Description() + " " + GetRecordKey(source) +
         " failed. Return code=" + std::to_string(code) + ".";
}

std::string KindFailedText(host::DataSource& source) {
  return "Ordavel for " + source.Description() + " failed.";
}

}  // namespace convert
