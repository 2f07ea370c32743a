#include "host/controls/StandaloneField.h"

#include "host/HostError.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>

namespace host {
namespace {

// The item-number field of the inventory views; every other key text of a view is a code.
constexpr const char* kItemNumberField = "ITEMNO";

bool IsKeyField(const Field& field) {
  for (const Key& key : field.Source().Keys()) {
    if (std::find(key.fields.begin(), key.fields.end(), field.Index()) != key.fields.end()) {
      return true;
    }
  }
  return false;
}

std::optional<std::int64_t> ParseWhole(const std::string& text) {
  std::string trimmed = platform::Trim(text);
  if (trimmed.empty()) return 0;
  std::int64_t result = 0;
  const char* end = trimmed.data() + trimmed.size();
  auto [stop, error] = std::from_chars(trimmed.data(), end, result);
  if (error != std::errc() || stop != end) return std::nullopt;
  return result;
}

std::optional<double> ParseDecimal(const std::string& text) {
  std::string trimmed = platform::Trim(text);
  if (trimmed.empty()) return 0.0;
  char* stop = nullptr;
  double result = std::strtod(trimmed.c_str(), &stop);
  if (stop != trimmed.c_str() + trimmed.size()) return std::nullopt;
  return result;
}

std::optional<std::int64_t> ParseBoolean(const Variant& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::string word = platform::Trim(*text);
    if (word.empty() || word == "0" || word == "No" || word == "False") return 0;
    if (word == "1" || word == "Yes" || word == "True") return 1;
    return std::nullopt;
  }
  return VariantInteger(value) != 0 ? 1 : 0;
}

}  // namespace

std::string UnformatItemNumber(const std::string& text) {
  std::string result;
  for (char c : platform::UpperCase(text)) {
    if (c != '-' && c != '/' && c != '.' && c != '(' && c != ')') result += c;
  }
  return platform::TrimRight(result);
}

void StandaloneField::DefineLike(const Field& field) {
  FieldInfo info = field.Info();
  FieldMask mask = FieldMask::None;
  if (info.type == FieldType::Text) {
    if (info.name == kItemNumberField) {
      mask = FieldMask::ItemNumber;
    } else if (IsKeyField(field)) {
      mask = FieldMask::Code;
    }
  }
  Redefine(std::move(info), mask);
}

void StandaloneField::Define(int typeCode, int size) {
  FieldType type;
  switch (typeCode) {
    case kTypeText:
      type = FieldType::Text;
      break;
    case kTypeDate:
      type = FieldType::Date;
      break;
    case kTypeDecimal:
      type = FieldType::Decimal;
      break;
    case kTypeInt16:
      type = FieldType::Int16;
      break;
    case kTypeInt32:
      type = FieldType::Int32;
      break;
    case kTypeBoolean:
      type = FieldType::Boolean;
      break;
    default:
      throw HostError(HostError::kGeneralFailure,
                      "Unknown field type " + std::to_string(typeCode) + ".");
  }
  Redefine(FieldInfo{0, {}, {}, type, size}, FieldMask::None);
}

void StandaloneField::Redefine(FieldInfo info, FieldMask mask) {
  const bool changed = info != info_ || mask != mask_ || !presentation_.empty();
  info_ = std::move(info);
  mask_ = mask;
  presentation_.clear();
  if (changed) DefinitionChanged.Emit();
  AssignAndNotify(value_, Blank(), ValueChanged);
}

void StandaloneField::SetDefinitionText(int item, const std::string& text) {
  if (item == kItemName) {
    AssignAndNotify(info_.name, text, DefinitionChanged);
  } else if (item == kItemDescription) {
    AssignAndNotify(info_.description, text, DefinitionChanged);
  } else {
    throw HostError(HostError::kGeneralFailure,
                    "Unknown field definition item " + std::to_string(item) + ".");
  }
}

void StandaloneField::AddPresentation(std::int64_t value, const std::string& text) {
  presentation_.push_back({value, text});
  DefinitionChanged.Emit();
}

void StandaloneField::ClearPresentationList() {
  if (presentation_.empty()) return;
  presentation_.clear();
  DefinitionChanged.Emit();
}

std::string StandaloneField::Text() const {
  if (const auto* whole = std::get_if<std::int64_t>(&value_)) {
    for (const PresentationEntry& entry : presentation_) {
      if (entry.value == *whole) return entry.text;
    }
  }
  return VariantText(value_);
}

void StandaloneField::PutWithVerification(const Variant& value) {
  AssignAndNotify(value_, Converted(value, true), ValueChanged);
}

void StandaloneField::PutWithoutVerification(const Variant& value) {
  AssignAndNotify(value_, Converted(value, false), ValueChanged);
}

Variant StandaloneField::Blank() const {
  switch (info_.type) {
    case FieldType::Text:
      return std::string();
    case FieldType::Decimal:
      return 0.0;
    default:
      return std::int64_t{0};
  }
}

Variant StandaloneField::Converted(const Variant& value, bool verify) const {
  auto refuse = [&]() -> HostError {
    return HostError(HostError::kGeneralFailure,
                     "Invalid value for " + info_.description + ": " + VariantText(value) + ".",
                     info_.name);
  };
  if (info_.type == FieldType::Text) {
    std::string text = platform::TrimRight(VariantText(value));
    if (verify) {
      if (info_.size > 0 && static_cast<int>(text.size()) > info_.size) {
        throw HostError(HostError::kGeneralFailure,
                        info_.description + " cannot be longer than " + std::to_string(info_.size) +
                            " characters.",
                        info_.name);
      }
      if (mask_ == FieldMask::Code) text = platform::UpperCase(text);
      if (mask_ == FieldMask::ItemNumber) text = UnformatItemNumber(text);
    } else if (info_.size > 0 && static_cast<int>(text.size()) > info_.size) {
      text.resize(static_cast<size_t>(info_.size));
    }
    return text;
  }
  if (info_.type == FieldType::Decimal) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      auto decimal = ParseDecimal(*text);
      if (!decimal) throw refuse();
      return *decimal;
    }
    if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
    if (const auto* decimal = std::get_if<double>(&value)) return *decimal;
    return 0.0;
  }
  if (info_.type == FieldType::Boolean) {
    auto flag = ParseBoolean(value);
    if (!flag) throw refuse();
    return *flag;
  }

  std::optional<std::int64_t> whole;
  if (const auto* text = std::get_if<std::string>(&value)) {
    // A list field is also given the text the operator picked from its list.
    for (const PresentationEntry& entry : presentation_) {
      if (entry.text == platform::Trim(*text)) whole = entry.value;
    }
    if (!whole) whole = ParseWhole(*text);
  } else {
    whole = VariantInteger(value);
  }
  if (!whole) throw refuse();
  if (verify) {
    if (info_.type == FieldType::Int16 && (*whole < std::numeric_limits<std::int16_t>::min() ||
                                           *whole > std::numeric_limits<std::int16_t>::max())) {
      throw refuse();
    }
    if (info_.type == FieldType::Int32 && (*whole < std::numeric_limits<std::int32_t>::min() ||
                                           *whole > std::numeric_limits<std::int32_t>::max())) {
      throw refuse();
    }
    if (!presentation_.empty() &&
        std::none_of(presentation_.begin(), presentation_.end(),
                     [&](const PresentationEntry& entry) { return entry.value == *whole; })) {
      throw refuse();
    }
  }
  return *whole;
}

}  // namespace host
