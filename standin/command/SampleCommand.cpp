#include "standin/command/Commands.h"

#include "standin/sample/SampleSite.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <memory>

namespace erp {
namespace {

void printCompany(const CompanyReport& company) {
  std::cout << "  " << company.orgId << "  " << company.name << "\n    applications:";
  for (const std::string& application : company.applications) std::cout << ' ' << application;
  std::cout << '\n';
  size_t total = 0;
  for (const auto& [kind, count] : company.records) {
    std::cout << "    " << kind << ": " << count << '\n';
    total += count;
  }
  std::cout << "    " << total << " records\n";
}

void createSample(const std::string& folder) {
  const auto started = std::chrono::steady_clock::now();
  const SampleSiteReport report = createSampleSite(folder);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);

  std::cout << "Created the sample site in " << folder << '\n'
            << "  programs:    " << report.programs.string() << '\n'
            << "  shared data: " << report.sharedData.string() << '\n'
            << "Companies:\n";
  for (const CompanyReport& company : report.companies) printCompany(company);
  std::cout << "Users (demo passwords):\n";
  for (const UserReport& user : report.users) {
    std::cout << "  " << user.userId << " / " << user.password << "  companies:";
    for (const std::string& company : user.companies) std::cout << ' ' << company;
    std::cout << '\n';
  }
  std::cout << "Done in " << elapsed.count() << " ms.\n";
}

}  // namespace

void addSampleCommand(CLI::App& app) {
  auto folder = std::make_shared<std::string>();
  CLI::App* sample = app.add_subcommand(
      "sample", "Creates a complete sample site with three companies and demo users.");
  sample->add_option("DIR", *folder, "Folder of the new site (Programs and SharedData)")
      ->required();
  sample->callback([folder] { createSample(*folder); });
}

}  // namespace erp
