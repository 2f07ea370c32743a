#include "erp/filter/FilterConstant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace erp {
namespace {

TEST(FilterNumber, ReadsWholeAndDecimalNumbersOnly) {
  using enum NumberReading;
  const struct {
    const char* name;
    const char* text;
    NumberReading reading;
    Value value;
  } cases[] = {
      {"Whole", "12", Number, std::int64_t{12}},
      {"Negative", "-3", Number, std::int64_t{-3}},
      {"Plus", "+4", Number, std::int64_t{4}},
      {"BlanksAround", " 7  ", Number, std::int64_t{7}},
      {"Fraction", "-1.25", Number, -1.25},
      {"LargestWhole", "9223372036854775807", Number, std::numeric_limits<std::int64_t>::max()},
      {"WholeTooLarge", "9223372036854775808", OutOfRange, Value{}},
      {"Empty", "", NotANumber, Value{}},
      {"SignOnly", "-", NotANumber, Value{}},
      {"LeadingPoint", ".5", NotANumber, Value{}},
      {"TrailingPoint", "5.", NotANumber, Value{}},
      {"TwoPoints", "1.2.3", NotANumber, Value{}},
      {"Exponent", "1e3", NotANumber, Value{}},
      {"Hex", "0x10", NotANumber, Value{}},
      {"InnerBlank", "1 2", NotANumber, Value{}},
      {"DoubleSign", "--1", NotANumber, Value{}},
  };
  for (const auto& c : cases) {
    Value value;
    EXPECT_EQ(c.reading, readFilterNumber(c.text, value)) << c.name;
    EXPECT_EQ(c.value, value) << c.name;
  }
}

}  // namespace
}  // namespace erp
