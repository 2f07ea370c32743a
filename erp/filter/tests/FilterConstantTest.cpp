#include "erp/filter/FilterConstant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace erp {
namespace {

struct NumberCase {
  const char* name;
  const char* text;
  NumberReading reading;
  Value value;
};

class FilterNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(FilterNumber, ReadsText) {
  Value value;
  EXPECT_EQ(GetParam().reading, readFilterNumber(GetParam().text, value));
  EXPECT_EQ(GetParam().value, value);
}

std::string caseName(const testing::TestParamInfo<NumberCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Readings, FilterNumber,
    testing::Values(NumberCase{"Whole", "12", NumberReading::Number, std::int64_t{12}},
                    NumberCase{"Negative", "-3", NumberReading::Number, std::int64_t{-3}},
                    NumberCase{"Plus", "+4", NumberReading::Number, std::int64_t{4}},
                    NumberCase{"BlanksAround", " 7  ", NumberReading::Number, std::int64_t{7}},
                    NumberCase{"Fraction", "-1.25", NumberReading::Number, -1.25},
                    NumberCase{"LargestWhole", "9223372036854775807", NumberReading::Number,
                               std::numeric_limits<std::int64_t>::max()},
                    NumberCase{"WholeTooLarge", "9223372036854775808", NumberReading::OutOfRange,
                               Value{}},
                    NumberCase{"Empty", "", NumberReading::NotANumber, Value{}},
                    NumberCase{"SignOnly", "-", NumberReading::NotANumber, Value{}},
                    NumberCase{"LeadingPoint", ".5", NumberReading::NotANumber, Value{}},
                    NumberCase{"TrailingPoint", "5.", NumberReading::NotANumber, Value{}},
                    NumberCase{"TwoPoints", "1.2.3", NumberReading::NotANumber, Value{}},
                    NumberCase{"Exponent", "1e3", NumberReading::NotANumber, Value{}},
                    NumberCase{"Hex", "0x10", NumberReading::NotANumber, Value{}},
                    NumberCase{"InnerBlank", "1 2", NumberReading::NotANumber, Value{}},
                    NumberCase{"DoubleSign", "--1", NumberReading::NotANumber, Value{}}),
    caseName);

}  // namespace
}  // namespace erp
