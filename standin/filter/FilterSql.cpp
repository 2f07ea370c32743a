#include "standin/filter/FilterSql.h"

#include "platform/Text.h"
#include "standin/filter/FilterConstant.h"
#include "standin/filter/FilterMessage.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace erp {
namespace {

const FieldDef* findField(const ViewDef& view, std::string_view name) {
  for (const FieldDef& field : view.fields) {
    if (platform::EqualsIgnoreCase(field.name, name)) return &field;
  }
  return nullptr;
}

bool isText(const FieldDef& field) {
  return field.type == FieldType::Text;
}

const char* sqlOperator(CompareOp op) {
  switch (op) {
    case CompareOp::Equal:
      return " = ";
    case CompareOp::NotEqual:
      return " <> ";
    case CompareOp::Less:
      return " < ";
    case CompareOp::Greater:
      return " > ";
    case CompareOp::LessEqual:
      return " <= ";
    case CompareOp::GreaterEqual:
      return " >= ";
    case CompareOp::Like:
      break;
  }
  return " GLOB ";
}

class SqlWriter {
 public:
  explicit SqlWriter(const ViewDef& view) : view_(view) {}

  SqlFilter write(const FilterChain& chain) {
    if (!chain.terms.empty()) writeChain(chain);
    return std::move(result_);
  }

 private:
  // A run of one connective is associative and needs a single pair of parentheses; each
  // change of connective then groups everything on its left, which keeps the evaluation
  // strictly left to right. The pairs all open before the first term, so the nesting is
  // checked there, where it is deepest.
  void writeChain(const FilterChain& chain) {
    const std::vector<Connective>& connectives = chain.connectives;
    size_t runs = 0;
    for (size_t i = 0; i < connectives.size(); ++i) {
      if (i + 1 == connectives.size() || connectives[i + 1] != connectives[i]) ++runs;
    }
    if (nesting_ + runs + 1 > kMaxSqlNesting) {
      throwFilterError(
          "AND and OR groups nested more than " + std::to_string(kMaxSqlNesting) + " deep",
          chain.position);
    }
    nesting_ += runs;
    result_.where.append(runs, '(');
    writeTerm(chain.terms.front());
    for (size_t i = 0; i < connectives.size(); ++i) {
      result_.where += connectives[i] == Connective::And ? " AND " : " OR ";
      writeTerm(chain.terms[i + 1]);
      if (i + 1 == connectives.size() || connectives[i + 1] != connectives[i]) {
        result_.where += ')';
        --nesting_;
      }
    }
  }

  void writeTerm(const FilterTerm& term) {
    if (const auto* condition = std::get_if<FilterCondition>(&term)) {
      writeCondition(*condition);
    } else {
      writeChain(*std::get<std::unique_ptr<FilterChain>>(term));
    }
  }

  void writeCondition(const FilterCondition& condition) {
    const FieldDef* field = findField(view_, condition.field);
    if (!field) {
      throwFilterError("Unknown field " + messageText(condition.field), condition.fieldPosition);
    }
    if (condition.op == CompareOp::Like && !isText(*field)) {
      throwFilterError("LIKE needs a text field but " + field->name + " is numeric",
                       condition.opPosition);
    }
    const FilterOperand& operand = condition.operand;
    const FieldDef* other = operand.quoted ? nullptr : findField(view_, operand.text);
    result_.where += '(' + sqlColumn(*field) + sqlOperator(condition.op);
    if (other) {
      writeFieldOperand(*field, condition.op, *other, operand.position);
    } else if (isText(*field)) {
      writeTextOperand(condition.op, operand);
    } else {
      writeNumberOperand(*field, operand);
    }
    result_.where += ')';
  }

  void writeFieldOperand(const FieldDef& field, CompareOp op, const FieldDef& other,
                         size_t position) {
    if (op == CompareOp::Like) {
      throwFilterError("LIKE needs a quoted pattern, not the field " + other.name, position);
    }
    if (isText(field) != isText(other)) {
      const FieldDef& text = isText(field) ? field : other;
      const FieldDef& number = isText(field) ? other : field;
      throwFilterError(
          "Text field " + text.name + " cannot be compared with numeric field " + number.name,
          position);
    }
    result_.where += sqlColumn(other);
  }

  // Stored texts carry no trailing blanks, so constants lose theirs to compare alike.
  void writeTextOperand(CompareOp op, const FilterOperand& operand) {
    std::string text = platform::TrimRight(operand.text);
    result_.params.emplace_back(op == CompareOp::Like ? likeToGlob(text) : std::move(text));
    result_.where += '?';
  }

  void writeNumberOperand(const FieldDef& field, const FilterOperand& operand) {
    Value number;
    switch (readFilterNumber(operand.text, number)) {
      case NumberReading::Number:
        break;
      case NumberReading::NotANumber:
        throwFilterError("Expected a number for " + field.name, operand.position);
      case NumberReading::OutOfRange:
        throwFilterError("Number out of range for " + field.name, operand.position);
    }
    result_.params.push_back(std::move(number));
    result_.where += '?';
  }

  const ViewDef& view_;
  SqlFilter result_;
  size_t nesting_ = 0;  ///< parentheses open around the term being written
};

}  // namespace

SqlFilter filterToSql(const ViewDef& view, const FilterChain& chain) {
  return SqlWriter(view).write(chain);
}

}  // namespace erp
