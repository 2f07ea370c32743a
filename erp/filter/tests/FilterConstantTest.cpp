#include "erp/filter/FilterConstant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace erp {
namespace {

TEST(FilterNumber, ReadsWholeAndDecimalNumbersOnly) {
  using enum NumberReading;
  auto check = [&](const char* name, const char* text, NumberReading reading, const Value& value) {
    Value read;
    EXPECT_EQ(reading, readFilterNumber(text, read)) << name;
    EXPECT_EQ(value, read) << name;
  };
  check("Whole", "12", Number, std::int64_t{12});
  check("Negative", "-3", Number, std::int64_t{-3});
  check("Plus", "+4", Number, std::int64_t{4});
  check("BlanksAround", " 7  ", Number, std::int64_t{7});
  check("Fraction", "-1.25", Number, -1.25);
  check("LargestWhole", "9223372036854775807", Number, std::numeric_limits<std::int64_t>::max());
  check("WholeTooLarge", "9223372036854775808", OutOfRange, Value{});
  check("Empty", "", NotANumber, Value{});
  check("SignOnly", "-", NotANumber, Value{});
  check("LeadingPoint", ".5", NotANumber, Value{});
  check("TrailingPoint", "5.", NotANumber, Value{});
  check("TwoPoints", "1.2.3", NotANumber, Value{});
  check("Exponent", "1e3", NotANumber, Value{});
  check("Hex", "0x10", NotANumber, Value{});
  check("InnerBlank", "1 2", NotANumber, Value{});
  check("DoubleSign", "--1", NotANumber, Value{});
}

}  // namespace
}  // namespace erp
