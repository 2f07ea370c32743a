#pragma once

#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include "platform/tests/testsupport/TempFolder.h"
#include "standin/site/ErpErrorDisplay.h"
#include "standin/site/tests/testsupport/ScriptedPrompt.h"
#include "standin/testsupport/TestCompany.h"

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace host::testing {

/// A stand-in ERP site in a temporary folder with company SAMLTD (Tax Services and all six
/// modules active), user ADMIN signed on through an AccpacConnection, and the tax data of
/// erp::testing::TestCompany::addTaxData. Removed again on destruction.
class StandinCompany {
 public:
  StandinCompany();
  ~StandinCompany();

  const std::filesystem::path& sharedData() const { return folder_; }
  AccpacConnection& connection() { return *connection_; }
  host::Session& session() { return *connection_->Session(); }
  /// Direct access to the company's tables, for setting up and checking records.
  erp::testing::TestCompany& data() { return *data_; }
  /// What the error display was asked to show, one line per message.
  std::string shownErrors() const { return shown_.str(); }
  /// Texts of the session's error list.
  std::vector<std::string> errorTexts();

  /// A data source on the company's read-write link, opened; `parent` composes a detail.
  std::unique_ptr<DataSource> open(const std::string& viewId, DataSource* parent = nullptr);
  /// A fresh error display, as the program gets one per call.
  std::unique_ptr<ErrorDisplay> newErrorDisplay();

 private:
  platform::testing::TempFolder temp_{"ordavel-site-"};
  std::filesystem::path folder_ = temp_.path();
  erp::testing::ScriptedPrompt prompt_{{erp::Credentials{"ADMIN", "admin", "SAMLTD"}}};
  std::ostringstream shown_;
  erp::ConsoleErrorDisplay display_{shown_};
  std::unique_ptr<AccpacConnection> connection_;
  std::unique_ptr<erp::testing::TestCompany> data_;
};

}  // namespace host::testing
