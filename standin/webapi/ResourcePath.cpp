#include "standin/webapi/ResourcePath.h"

#include "platform/Text.h"
#include "standin/webapi/WebApiError.h"

#include <charconv>
#include <cstdint>
#include <map>

namespace erp::webapi {
namespace {

struct KeyLiteral {
  bool quoted = false;
  std::string text;
};

class KeyReader {
 public:
  KeyReader(std::string_view text, const std::string& setName) : text_(text), setName_(setName) {}

  /// The key's parts: names (empty for a single positional literal) with their literals.
  std::vector<std::pair<std::string, KeyLiteral>> read() {
    std::vector<std::pair<std::string, KeyLiteral>> parts;
    while (true) {
      skipBlanks();
      std::string name;
      if (at() != '\'' && !isNumberStart(at())) {
        name = readName();
        skipBlanks();
        if (at() != '=') fail("expected = after " + name);
        ++i_;
        skipBlanks();
      }
      parts.emplace_back(name, readLiteral());
      skipBlanks();
      if (i_ == text_.size()) return parts;
      if (at() != ',') fail("unexpected " + std::string(1, at()));
      ++i_;
    }
  }

 private:
  char at() const { return i_ < text_.size() ? text_[i_] : '\0'; }
  static bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-'; }
  void skipBlanks() {
    while (at() == ' ') ++i_;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw invalidEntityKey("The key (" + std::string(text_) + ") of " + setName_ +
                           " is not valid: " + what + ".");
  }
  std::string readName() {
    const size_t start = i_;
    while (std::isalnum(static_cast<unsigned char>(at())) != 0 || at() == '_') ++i_;
    if (i_ == start) fail("expected a property name or a literal");
    return std::string(text_.substr(start, i_ - start));
  }
  KeyLiteral readLiteral() {
    KeyLiteral literal;
    if (at() != '\'') {
      const size_t start = i_;
      while (isNumberStart(at()) || at() == '.') ++i_;
      if (i_ == start) fail("expected a literal");
      literal.text = std::string(text_.substr(start, i_ - start));
      return literal;
    }
    literal.quoted = true;
    for (++i_; i_ < text_.size(); ++i_) {
      if (text_[i_] != '\'') {
        literal.text += text_[i_];
      } else if (i_ + 1 < text_.size() && text_[i_ + 1] == '\'') {
        literal.text += '\'';
        ++i_;
      } else {
        ++i_;
        return literal;
      }
    }
    fail("unterminated string");
  }

  std::string_view text_;
  const std::string& setName_;
  size_t i_ = 0;
};

Value keyValue(const Property& property, const KeyLiteral& literal, const std::string& setName) {
  auto refuse = [&](const std::string& expected) {
    return invalidEntityKey("The key property " + property.name + " of " + setName + " takes " +
                            expected + ".");
  };
  if (property.field->type == FieldType::Text) {
    if (!literal.quoted) throw refuse("a quoted string");
    return literal.text;
  }
  std::int64_t number = 0;
  const char* end = literal.text.data() + literal.text.size();
  const auto [stop, error] = std::from_chars(literal.text.data(), end, number);
  if (literal.quoted || error != std::errc() || stop != end) throw refuse("a whole number");
  return number;
}

}  // namespace

ResourcePath parsePath(std::string_view path) {
  auto notFound = [&path] {
    return WebApiError(404, "InvalidParameters",
                       "There is no resource at " + std::string(path) + ".");
  };
  if (!path.starts_with(kRootPath)) throw notFound();
  std::string_view rest = path.substr(kRootPath.size());
  const size_t companyEnd = rest.find('/');
  if (companyEnd == std::string_view::npos || companyEnd == 0) throw notFound();
  const size_t moduleEnd = rest.find('/', companyEnd + 1);
  if (moduleEnd == std::string_view::npos || moduleEnd == companyEnd + 1) throw notFound();
  ResourcePath result;
  result.company = std::string(rest.substr(0, companyEnd));
  result.module =
      platform::UpperCase(std::string(rest.substr(companyEnd + 1, moduleEnd - companyEnd - 1)));
  std::string_view resource = rest.substr(moduleEnd + 1);
  const size_t open = resource.find('(');
  if (open != std::string_view::npos) {
    if (!resource.ends_with(')')) throw notFound();
    result.key = std::string(resource.substr(open + 1, resource.size() - open - 2));
    resource = resource.substr(0, open);
  }
  if (resource.find('/') != std::string_view::npos) throw notFound();
  result.resource = std::string(resource);
  return result;
}

std::vector<Value> parseKey(const PropertySet& set, const std::string& setName,
                            std::string_view text) {
  const auto parts = KeyReader(text, setName).read();
  const std::vector<const Property*> keys = set.keys();
  std::vector<Value> values(keys.size());
  std::vector<bool> given(keys.size(), false);
  for (const auto& [name, literal] : parts) {
    size_t index = 0;
    if (name.empty()) {
      if (parts.size() != 1 || keys.size() != 1) {
        throw invalidEntityKey("The key of " + setName + " names each of its properties.");
      }
    } else {
      while (index < keys.size() && keys[index]->name != name) ++index;
      if (index == keys.size()) {
        throw invalidEntityKey(name + " is not a key property of " + setName + ".");
      }
      if (given[index]) throw invalidEntityKey("The key names " + name + " twice.");
    }
    values[index] = keyValue(*keys[index], literal, setName);
    given[index] = true;
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!given[i])
      throw invalidEntityKey("The key of " + setName + " lacks " + keys[i]->name + ".");
  }
  return values;
}

}  // namespace erp::webapi
