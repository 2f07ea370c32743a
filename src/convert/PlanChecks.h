#pragma once

#include "convert/ConversionRequest.h"
#include "convert/Plan.h"
#include "host/AccpacConnection.h"
#include "host/DataSource.h"

#include <string>
#include <vector>

namespace convert {

/// What a plan comes to on one signed-on company.
struct CompanyPlan {
  /// The plan's modules that the company runs, in tab order.
  std::vector<std::string> tabs;
  /// The plan's modules that the company does not run: skipped, and listed.
  std::vector<std::string> skippedTabs;
  /// Every problem of the plan on this company, as "file:line: problem".
  std::vector<std::string> problems;
};

/// Checks the plan against the signed-on company's tax tables: every tax group exists for each
/// transaction type the company's modules convert, every class list has one class per
/// authority of its group and every class exists, every authority exists with the classes its
/// kinds use, and a replacement that sets tax included goes to an authority that allows it.
CompanyPlan CheckPlanOnCompany(const Plan& plan, host::AccpacConnection& connection,
                               host::DataSourceFactory& dataSources);

/// What the signed-on company's tax tables refuse in the request's authority replacements: an
/// authority or class that does not exist for the kinds of its grid, tax included set for an
/// authority that allows none; each as "file:line: problem".
std::vector<std::string> CheckReplacements(const ConversionRequest& request,
                                           host::AccpacConnection& connection,
                                           host::DataSourceFactory& dataSources);

/// The conversion requests that carry out the plan on `company` for `tabs`, in tab order. A tab
/// whose tax-group mappings take several of the plan's groups gets one request per group; the
/// replacements go with the first request of a tab. Tabs with nothing to convert get none.
std::vector<ConversionRequest> PlanRequests(const Plan& plan, const std::string& company,
                                            const std::vector<std::string>& tabs);

}  // namespace convert
