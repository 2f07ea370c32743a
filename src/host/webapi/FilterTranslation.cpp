#include "host/webapi/FilterTranslation.h"

#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

namespace host::webapi {
namespace {

using Selects = ODataFilter::Selects;

bool Numeric(FieldType type) {
  return type == FieldType::Int16 || type == FieldType::Int32 || type == FieldType::Decimal;
}

const char* ODataOperator(CompareOp op) {
  switch (op) {
    case CompareOp::Equal:
      return " eq ";
    case CompareOp::NotEqual:
      return " ne ";
    case CompareOp::Less:
      return " lt ";
    case CompareOp::Greater:
      return " gt ";
    case CompareOp::LessEqual:
      return " le ";
    case CompareOp::GreaterEqual:
    case CompareOp::Like:
      break;
  }
  return " ge ";
}

template <typename T>
bool Holds(CompareOp op, T left, T right) {
  switch (op) {
    case CompareOp::Equal:
      return left == right;
    case CompareOp::NotEqual:
      return left != right;
    case CompareOp::Less:
      return left < right;
    case CompareOp::Greater:
      return left > right;
    case CompareOp::LessEqual:
      return left <= right;
    case CompareOp::GreaterEqual:
    case CompareOp::Like:
      break;
  }
  return left >= right;
}

/// A number as the ERP reads one in a filter: digits, one sign at most, a fraction after a
/// point. nullopt when it is none; `outOfRange` is set when it is one too large.
std::optional<double> FilterNumber(std::string_view written, std::string& literal,
                                   bool& outOfRange) {
  const std::string text = platform::Trim(written);
  std::string_view digits = text;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (negative || digits.front() == '+')) digits.remove_prefix(1);
  const size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
  auto allDigits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(fraction))) {
    return std::nullopt;
  }
  const std::string number = (negative ? "-" : "") + std::string(digits);
  const char* end = number.data() + number.size();
  double value = 0;
  if (point == std::string_view::npos) {
    std::int64_t whole64 = 0;
    auto [stop, error] = std::from_chars(number.data(), end, whole64);
    outOfRange = error != std::errc() || stop != end;
    literal = std::to_string(whole64);
    value = static_cast<double>(whole64);
  } else {
    auto [stop, error] = std::from_chars(number.data(), end, value);
    outOfRange = error != std::errc() || stop != end;
    literal = number;
  }
  return value;
}

/// A part of the translation: a constant, or a condition with the parentheses it is nested in.
struct Part {
  Selects selects = Selects::Some;
  std::string text;
  int depth = 0;
};

Part Constant(bool every) {
  return {every ? Selects::Every : Selects::None, {}, 0};
}

/// Joins the terms of one connective into a group, folding constants away.
Part Group(const std::vector<Part>& parts, bool ands) {
  const Selects absorbing = ands ? Selects::None : Selects::Every;
  std::vector<const Part*> kept;
  for (const Part& part : parts) {
    if (part.selects == absorbing) return Constant(!ands);
    if (part.selects == Selects::Some) kept.push_back(&part);
  }
  if (kept.empty()) return Constant(ands);
  if (kept.size() == 1) return *kept.front();
  Part group{Selects::Some, "(", 0};
  for (size_t i = 0; i < kept.size(); ++i) {
    group.text += (i ? (ands ? " and " : " or ") : "") + kept[i]->text;
    group.depth = std::max(group.depth, kept[i]->depth + 1);
  }
  group.text += ")";
  return group;
}

class Translator {
 public:
  /// Without `serverChecks` only what the ERP itself refuses is refused, so that a filter with
  /// several faults is first told what the ERP would tell.
  Translator(const FilterTarget& target, bool serverChecks)
      : target_(target), serverChecks_(serverChecks) {}

  Part Chain(const ErpChain& chain, size_t nesting) {
    // The ERP nests a group for every change of connective; past its limit it refuses.
    size_t runs = 0;
    for (size_t i = 0; i < chain.ands.size(); ++i) {
      if (i + 1 == chain.ands.size() || chain.ands[i + 1] != chain.ands[i]) ++runs;
    }
    if (nesting + runs + 1 > static_cast<size_t>(kMaxFilterNesting)) {
      throw FilterRefusal(
          "AND and OR groups nested more than " + std::to_string(kMaxFilterNesting) + " deep",
          chain.position);
    }
    std::vector<Part> run{Term(chain.terms.front(), nesting + runs)};
    size_t open = runs;
    for (size_t i = 0; i < chain.ands.size(); ++i) {
      run.push_back(Term(chain.terms[i + 1], nesting + open));
      if (i + 1 == chain.ands.size() || chain.ands[i + 1] != chain.ands[i]) {
        // Left to right: everything so far is one group, the first term of the next run.
        run = {Group(run, chain.ands[i])};
        --open;
      }
    }
    return run.front();
  }

 private:
  Part Term(const ErpTerm& term, size_t nesting) {
    if (const auto* condition = std::get_if<ErpCondition>(&term)) return Condition(*condition);
    return Chain(*std::get<std::unique_ptr<ErpChain>>(term), nesting);
  }

  const FieldLayout& FieldNamed(const std::string& name, size_t position) const {
    const FieldLayout* field = target_.layout.Field(name);
    if (!field) throw FilterRefusal("Unknown field " + MessageText(name), position);
    return *field;
  }

  const std::string& PropertyOf(const FieldLayout& field, size_t position) const {
    const std::string& property = target_.properties.at(static_cast<size_t>(field.info.index - 1));
    if (serverChecks_ && target_.offered && !target_.offered(property)) {
      throw FilterRefusal(field.info.name +
                              " cannot be sent to the Web API: the server offers no property " +
                              property,
                          position);
    }
    return property;
  }

  Part Condition(const ErpCondition& condition) {
    const FieldLayout& field = FieldNamed(condition.field, condition.fieldPosition);
    const bool text = field.info.type == FieldType::Text;
    if (condition.op == CompareOp::Like && !text) {
      throw FilterRefusal("LIKE needs a text field but " + field.info.name + " is numeric",
                          condition.opPosition);
    }
    const FieldLayout* other = condition.quoted ? nullptr : target_.layout.Field(condition.operand);
    if (other) return FieldComparison(condition, field, *other);
    if (text) return TextComparison(condition, field);
    return NumberComparison(condition, field);
  }

  Part FieldComparison(const ErpCondition& condition, const FieldLayout& field,
                       const FieldLayout& other) {
    if (condition.op == CompareOp::Like) {
      throw FilterRefusal("LIKE needs a quoted pattern, not the field " + other.info.name,
                          condition.operandPosition);
    }
    const bool text = field.info.type == FieldType::Text;
    if (text != (other.info.type == FieldType::Text)) {
      const FieldLayout& textField = text ? field : other;
      const FieldLayout& number = text ? other : field;
      throw FilterRefusal("Text field " + textField.info.name +
                              " cannot be compared with numeric field " + number.info.name,
                          condition.operandPosition);
    }
    const FieldType a = field.info.type;
    const FieldType b = other.info.type;
    const bool alike =
        text || (Numeric(a) && Numeric(b)) || (a == FieldType::Boolean && b == FieldType::Boolean);
    if (!alike && serverChecks_) {
      throw FilterRefusal(
          field.info.name + " and " + other.info.name + " cannot be compared through the Web API",
          condition.fieldPosition);
    }
    return {Selects::Some,
            PropertyOf(field, condition.fieldPosition) + ODataOperator(condition.op) +
                PropertyOf(other, condition.operandPosition),
            0};
  }

  Part TextComparison(const ErpCondition& condition, const FieldLayout& field) {
    // Stored texts carry no trailing blanks, so the ERP compares constants without theirs.
    const std::string value = platform::TrimRight(condition.operand);
    const std::string& property = PropertyOf(field, condition.fieldPosition);
    if (condition.op != CompareOp::Like) {
      return {Selects::Some, property + ODataOperator(condition.op) + ODataString(value), 0};
    }
    return Like(condition, property, value);
  }

  Part Like(const ErpCondition& condition, const std::string& property, const std::string& value) {
    const size_t first = value.find_first_not_of('%');
    if (first == std::string::npos) return Constant(true);
    const size_t last = value.find_last_not_of('%');
    const std::string middle = value.substr(first, last - first + 1);
    if (middle.find_first_of("%_") != std::string::npos && serverChecks_) {
      throw FilterRefusal(condition.field + " LIKE \"" + MessageText(condition.operand) +
                              "\" cannot be sent to the Web API, which matches a % only at the "
                              "start or the end of a pattern, and no _",
                          condition.operandPosition);
    }
    const bool leading = first > 0;
    const bool trailing = last + 1 < value.size();
    std::string text;
    if (leading && trailing) {
      text = "substringof(" + ODataString(middle) + "," + property + ")";
    } else if (leading) {
      text = "endswith(" + property + "," + ODataString(middle) + ")";
    } else if (trailing) {
      text = "startswith(" + property + "," + ODataString(middle) + ")";
    } else {
      text = property + " eq " + ODataString(middle);
    }
    return {Selects::Some, text, 0};
  }

  Part NumberComparison(const ErpCondition& condition, const FieldLayout& field) {
    std::string literal;
    bool outOfRange = false;
    const std::optional<double> number = FilterNumber(condition.operand, literal, outOfRange);
    if (!number) {
      throw FilterRefusal("Expected a number for " + field.info.name, condition.operandPosition);
    }
    if (outOfRange) {
      throw FilterRefusal("Number out of range for " + field.info.name, condition.operandPosition);
    }
    if (field.info.type == FieldType::Date && serverChecks_) {
      throw FilterRefusal(
          "Dates such as " + field.info.name + " cannot be compared through the Web API",
          condition.fieldPosition);
    }
    const std::string& property = PropertyOf(field, condition.fieldPosition);
    if (field.info.type != FieldType::Boolean) {
      return {Selects::Some, property + ODataOperator(condition.op) + literal, 0};
    }
    // A Yes/No field holds 0 or 1; the server names them "No" and "Yes".
    const bool no = Holds(condition.op, 0.0, *number);
    const bool yes = Holds(condition.op, 1.0, *number);
    if (no == yes) return Constant(yes);
    return {Selects::Some, property + " eq " + ODataString(yes ? "Yes" : "No"), 0};
  }

  const FilterTarget& target_;
  bool serverChecks_;
};

}  // namespace

std::string ODataString(std::string_view text) {
  std::string literal = "'";
  for (char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

ODataFilter TranslateFilter(std::string_view filter, const FilterTarget& target) {
  const ErpChain chain = ParseErpFilter(filter);
  if (chain.terms.empty()) return {};
  Translator(target, false).Chain(chain, 0);
  const Part part = Translator(target, true).Chain(chain, 0);
  if (part.selects != Selects::Some) return {part.selects, {}, 0};
  if (part.text.size() > kMaxODataFilterLength) {
    throw FilterRefusal(
        "The filter is too long to send to the Web API: " + std::to_string(part.text.size()) +
            " characters once translated, " + "more than " + std::to_string(kMaxODataFilterLength),
        0);
  }
  if (part.depth > kMaxODataFilterDepth) {
    throw FilterRefusal("The filter nests too deep to send to the Web API: more than " +
                            std::to_string(kMaxODataFilterDepth) + " levels of parentheses",
                        0);
  }
  return {Selects::Some, part.text, part.depth};
}

}  // namespace host::webapi
