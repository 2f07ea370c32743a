#include "host/webapi/WebApiLink.h"

#include "host/HostError.h"
#include "host/webapi/WebApiFailure.h"

#include <algorithm>

namespace host::webapi {
namespace {

constexpr std::int32_t kLinkError = static_cast<std::int32_t>(0x80041103u);
constexpr int kOptionRecurringByCustomer = 6;
constexpr int kOptionMulticurrency = 25;

}  // namespace

WebApiLink::WebApiLink(std::shared_ptr<WebApiCompany> company, host::Session& session,
                       bool readOnly, bool save)
    : company_(std::move(company)), session_(session), readOnly_(readOnly), save_(save) {}

int WebApiLink::ActiveApplicationCount() const {
  return static_cast<int>(company_->ActiveModules().size());
}

std::string WebApiLink::ApplicationID(int index) const {
  return company_->ActiveModules().at(static_cast<size_t>(index));
}

std::string WebApiLink::ApplicationSecondID(int index) const {
  return ApplicationID(index);
}

std::vector<Variant> WebApiLink::ReadOptionValues(const std::string& viewId,
                                                  const std::vector<int>& fieldNumbers) const {
  // The Web API offers no options records; the administrator's map file says what they hold.
  const MapOverrides& options = company_->Maps().Overrides();
  std::vector<Variant> values;
  for (int field : fieldNumbers) {
    bool flag = false;
    if (viewId == "AR0001" && field == kOptionRecurringByCustomer) {
      flag = options.recurringChargesByCustomer;
    } else if (viewId == "IC0380" && field == kOptionMulticurrency) {
      flag = options.multicurrency;
    }
    values.emplace_back(std::int64_t{flag ? 1 : 0});
  }
  return values;
}

int WebApiLink::TransactionBegin() {
  return ++level_;
}

void WebApiLink::TransactionCommit() {
  if (level_ == 0) throw HostError(kLinkError, "No transaction is open.", "ERP.WebAPI");
  --level_;
  if (level_ > 0) {
    for (auto& [level, write] : pending_) level = std::min(level, level_);
    return;
  }
  std::vector<std::pair<int, RecordWrite>> writes = std::move(pending_);
  pending_.clear();
  for (const auto& [level, write] : writes) Execute(write);
}

void WebApiLink::TransactionRollback() {
  if (level_ == 0) return;
  std::erase_if(pending_, [this](const auto& entry) { return entry.first >= level_; });
  --level_;
}

void WebApiLink::Save(RecordWrite write) {
  if (readOnly_ || !save_) {
    throw HostError(kLinkError,
                    write.recordText + " was not saved: the company is open for reading only.",
                    "ERP.WebAPI");
  }
  if (level_ == 0) return Execute(write);
  if (!pending_.empty()) {
    throw HostError(kLinkError,
                    "The Web API saves one record at a time, so a commit cannot hold both " +
                        pending_.front().second.recordText + " and " + write.recordText + ".",
                    "ERP.WebAPI");
  }
  pending_.emplace_back(level_, std::move(write));
}

void WebApiLink::Execute(const RecordWrite& write) {
  try {
    SaveRecord(*company_, write);
  } catch (const WebApiFailure& failure) {
    throw HostError(kLinkError,
                    write.recordText +
                        " may or may not have been saved: the server could not be asked. " +
                        failure.what() + " Check the record before the next run.",
                    "ERP.WebAPI");
  }
}

}  // namespace host::webapi
