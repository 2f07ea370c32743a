#include "convert/tests/ConversionFixture.h"

#include "util/ResolvePathCase.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace convert::testing {

ConversionFixture::ConversionFixture()
    : txgrp(company.open("TX0003")),
      txclass(company.open("TX0001")),
      txauth(company.open("TX0002")),
      engine(std::make_unique<ConversionEngine>(company.connection(), state, observer)) {}

std::unique_ptr<TaxGroupMapping> ConversionFixture::taxGroupMapping(const std::string& caption,
                                                                    int transactionType,
                                                                    const std::string& group) {
  auto result = std::make_unique<TaxGroupMapping>();
  result->mapping =
      std::make_unique<grids::TaxGroupGrid>([this] { return company.newErrorDisplay(); });
  grids::TaxGroupGrid& mapping = *result->mapping;
  mapping.Name("Customer Taxes");
  mapping.Grid(&result->grid);
  mapping.adsTXGRP(txgrp.get());
  mapping.afecTaxGroup(&result->edit);
  mapping.Caption(caption);
  mapping.TransactionType(static_cast<std::int16_t>(transactionType));
  mapping.adsTXCLASS(txclass.get());
  mapping.AddTaxClassColumn("Tax Class", 90, static_cast<std::int16_t>(transactionType), 1);
  result->edit.Type(group);
  EXPECT_TRUE(result->edit.Leave()) << company.shownErrors();
  return result;
}

std::unique_ptr<host::FieldEditControl> ConversionFixture::rangeControl(host::DataSource& source,
                                                                        int number,
                                                                        const std::string& value) {
  auto control = std::make_unique<host::FieldEditControl>();
  auto field = std::make_shared<host::StandaloneField>();
  field->DefineLike(source.Fields(number));
  control->SetAccpacField(host::AccpacField(field));
  control->SetValue(value);
  return control;
}

std::unique_ptr<grids::CriteriaField> ConversionFixture::criteria(host::FieldEditControl& control,
                                                                  host::DataSource& source,
                                                                  const std::string& filter) {
  auto field = std::make_unique<grids::CriteriaField>(filterWindow);
  field->DataSource(&source);
  field->EditControl(&control);
  if (!filter.empty()) {
    filterWindow.filter = filter;
    control.PressButton();
  }
  return field;
}

std::string ConversionFixture::log(const std::string& logName) {
  std::string file = company.connection().getLogFileName("", "_" + logName);
  std::ifstream in(util::ResolvePathCase(company.connection().getLogPath() + "/" + file),
                   std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return std::regex_replace(content.str(), std::regex(R"((^|\n)[^ \r\n]+ [0-9:]+(?: [AP]M)? )"),
                            "$1<stamp> ");
}

}  // namespace convert::testing
