#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace erp {

/// Runs the `erp` command on its arguments (the first is the program's name) and returns its exit
/// status; a parse error prints the usage, any other error "erp: " and its message.
int runErpCommand(int argc, char** argv);

/// Adds `erp signon DIR USER COMPANY`, which starts a desktop session and prints its handle.
void addSignonCommand(CLI::App& app);
/// Adds `erp signoff DIR HANDLE`, which ends a desktop session.
void addSignoffCommand(CLI::App& app);
/// Adds `erp site init` and `erp site set`.
void addSiteCommand(CLI::App& app);
/// Adds `erp company add`.
void addCompanyCommand(CLI::App& app);
/// Adds `erp user add`, `erp user grant`, `erp user revoke` and `erp user remove`.
void addUserCommand(CLI::App& app);
/// Adds `erp app set`, `erp app remove` and `erp app list`.
void addAppCommand(CLI::App& app);

/// Adds `erp sample DIR`, which builds the sample site with its companies and demo users.
void addSampleCommand(CLI::App& app);
/// Adds `erp generate DIR COMPANY --customers N ...`, which adds records for benchmarks.
void addGenerateCommand(CLI::App& app);
/// Adds `erp query DIR COMPANY VIEW [FILTER]`, which lists keys and tax fields of records, and
/// `erp query --fields VIEW`, which lists a view's fields.
void addQueryCommand(CLI::App& app);
/// Adds `erp webapi DIR --listen HOST:PORT ...`, which serves the site through the Web API.
void addWebApiCommand(CLI::App& app);
/// Adds `erp views`, which lists the views with their descriptions.
void addViewsCommand(CLI::App& app);
/// Prints every view of the catalog: its ID and description, and the header of a detail view.
void printViews(std::ostream& out);
/// Prints the fields of a view (number, name, description, type, size) and its keys; throws
/// std::runtime_error on an unknown view.
void printFields(const std::string& viewId, std::ostream& out);
/// Prints the key and tax fields of the view's records that pass the filter, in key order, and
/// returns their number; throws ErpError on a bad filter and std::runtime_error on an unknown
/// company or view.
std::int64_t printRecords(const std::filesystem::path& siteDir, const std::string& company,
                          const std::string& viewId, const std::string& filter, std::ostream& out);

/// The password from the environment variable ORDAVEL_PASSWORD, else asked on the terminal
/// with `prompt` and without echo.
std::string readPassword(const std::string& prompt);

}  // namespace erp
