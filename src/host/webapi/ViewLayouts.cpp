#include "host/webapi/ViewLayouts.h"

#include "platform/Text.h"

#include <charconv>
#include <stdexcept>
#include <utility>

namespace host::webapi {
namespace {

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    parts.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return parts;
    start = tab + 1;
  }
}

std::vector<std::string> SplitBlanks(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    const size_t blank = text.find(' ', start);
    const size_t end = blank == std::string::npos ? text.size() : blank;
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

class LayoutReader {
 public:
  std::vector<ViewLayout> Read(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = text.find('\n', start);
      ++line_;
      ReadLine(text.substr(start, end == std::string_view::npos ? end : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    FinishView();
    return std::move(views_);
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) const {
    throw std::invalid_argument("View layouts, line " + std::to_string(line_) + ": " + problem);
  }

  int Number(const std::string& text, const char* what) const {
    int number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
      Fail(std::string("expected a number for ") + what + ", not \"" + text + "\".");
    }
    return number;
  }

  void ReadLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') return;
    const std::vector<std::string> parts = SplitTabs(line);
    if (parts[0] == "key") return ReadKey(parts);
    if (!parts[0].empty() && parts[0].find_first_not_of("0123456789") == std::string::npos) {
      return ReadField(parts);
    }
    if (parts.size() != 2) Fail("a view line is its ID and its description.");
    FinishView();
    views_.push_back({parts[0], parts[1], {}, {}});
  }

  ViewLayout& Current() {
    if (views_.empty()) Fail("a field or key before the first view.");
    return views_.back();
  }

  void ReadKey(const std::vector<std::string>& parts) {
    if (parts.size() != 3) Fail("a key line is \"key\", its name and its fields.");
    keyFields_.emplace_back(Current().keys.size(), SplitBlanks(parts[2]));
    Current().keys.push_back({parts[1], {}});
  }

  static FieldType TypeOf(const std::string& name, const LayoutReader& reader) {
    static const std::pair<const char*, FieldType> kTypes[] = {
        {"Text", FieldType::Text},   {"Int16", FieldType::Int16},
        {"Int32", FieldType::Int32}, {"Decimal", FieldType::Decimal},
        {"Date", FieldType::Date},   {"Boolean", FieldType::Boolean}};
    for (const auto& [text, type] : kTypes) {
      if (name == text) return type;
    }
    reader.Fail("unknown field type " + name + ".");
  }

  static FieldCheck CheckOf(const std::string& name, const LayoutReader& reader) {
    static const std::pair<const char*, FieldCheck> kChecks[] = {
        {"UpperCode", FieldCheck::UpperCode},
        {"ItemNumber", FieldCheck::ItemNumber},
        {"TaxGroup", FieldCheck::TaxGroup},
        {"TaxAuthority", FieldCheck::TaxAuthority},
        {"TaxClassOfGroup", FieldCheck::TaxClassOfGroup},
        {"TaxClassOfAuthority", FieldCheck::TaxClassOfAuthority},
        {"TaxIncluded", FieldCheck::TaxIncluded},
        {"Currency", FieldCheck::Currency}};
    for (const auto& [text, check] : kChecks) {
      if (name == text) return check;
    }
    reader.Fail("unknown check " + name + ".");
  }

  void ReadField(const std::vector<std::string>& parts) {
    if (parts.size() < 5) Fail("a field line needs its number, name, description, type and size.");
    ViewLayout& view = Current();
    FieldLayout field;
    field.info = {Number(parts[0], "the field"), parts[1], parts[2], TypeOf(parts[3], *this),
                  Number(parts[4], "the size")};
    if (field.info.index != static_cast<int>(view.fields.size()) + 1) {
      Fail("field " + parts[0] + " is out of order.");
    }
    if (parts.size() > 5) field.check = CheckOf(parts[5], *this);
    for (size_t i = 6; i < parts.size(); ++i) ReadParameter(field, parts[i]);
    view.fields.push_back(std::move(field));
  }

  void ReadParameter(FieldLayout& field, const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) Fail("expected name=value, not \"" + text + "\".");
    const std::string name = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);
    if (name == "ref") {
      refs_.emplace_back(Current().fields.size(), value);
    } else if (name == "type") {
      field.type = Number(value, "type");
    } else if (name == "axis") {
      field.axis = Number(value, "axis");
    } else if (name == "slot") {
      field.slot = Number(value, "slot");
    } else {
      Fail("unknown parameter " + name + ".");
    }
  }

  int FieldNumber(const ViewLayout& view, const std::string& name) const {
    const FieldLayout* field = view.Field(name);
    if (!field) Fail("view " + view.id + " has no field " + name + ".");
    return field->info.index;
  }

  void FinishView() {
    if (views_.empty()) return;
    ViewLayout& view = views_.back();
    for (const auto& [index, name] : refs_) view.fields[index].ref = FieldNumber(view, name);
    for (const auto& [index, names] : keyFields_) {
      for (const std::string& name : names)
        view.keys[index].fields.push_back(FieldNumber(view, name));
    }
    refs_.clear();
    keyFields_.clear();
  }

  std::vector<ViewLayout> views_;
  std::vector<std::pair<size_t, std::string>> refs_;
  std::vector<std::pair<size_t, std::vector<std::string>>> keyFields_;
  int line_ = 0;
};

}  // namespace

bool FieldLayout::TaxField() const {
  switch (check) {
    case FieldCheck::TaxGroup:
    case FieldCheck::TaxAuthority:
    case FieldCheck::TaxClassOfGroup:
    case FieldCheck::TaxClassOfAuthority:
    case FieldCheck::TaxIncluded:
      return true;
    default:
      return false;
  }
}

const FieldLayout* ViewLayout::Field(int number) const {
  if (number < 1 || number > static_cast<int>(fields.size())) return nullptr;
  return &fields[static_cast<size_t>(number - 1)];
}

const FieldLayout* ViewLayout::Field(std::string_view name) const {
  for (const FieldLayout& field : fields) {
    if (platform::EqualsIgnoreCase(field.info.name, name)) return &field;
  }
  return nullptr;
}

std::vector<ViewLayout> ParseViewLayouts(std::string_view text) {
  return LayoutReader().Read(text);
}

const ViewLayout* FindViewLayout(std::string_view view) {
  static const std::vector<ViewLayout> layouts = ParseViewLayouts(ShippedViewLayouts());
  for (const ViewLayout& layout : layouts) {
    if (layout.id == view) return &layout;
  }
  return nullptr;
}

}  // namespace host::webapi
