#include "standin/command/Commands.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SampleStory.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <iostream>
#include <map>
#include <memory>

namespace erp {
namespace {

struct GenerateOptions {
  std::string folder;
  std::string company;
  std::string name;
  std::map<std::string, size_t> counts;
  bool interleaved = false;
};

void generate(const GenerateOptions& options) {
  GenerateRequest request{options.company, options.name, {}, options.interleaved};
  for (const RecordKind& kind : recordKinds()) {
    auto found = options.counts.find(kind.name);
    if (found != options.counts.end() && found->second > 0) {
      request.counts.emplace_back(kind.name, found->second);
    }
  }
  const auto started = std::chrono::steady_clock::now();
  const CompanyReport report = generateCompany(options.folder, request);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);

  std::cout << report.orgId << "  " << report.name << '\n';
  size_t total = 0;
  for (const auto& [kind, count] : report.records) {
    std::cout << "  " << kind << ": " << count << '\n';
    total += count;
  }
  std::cout << total << " records generated in " << elapsed.count() << " ms.\n";
}

}  // namespace

void addGenerateCommand(CLI::App& app) {
  auto options = std::make_shared<GenerateOptions>();
  CLI::App* command = app.add_subcommand(
      "generate",
      "Adds records on ONGSTPST to a company for benchmarks, creating the site and company "
      "when missing.");
  command->add_option("DIR", options->folder, "Folder of the site")->required();
  command->add_option("COMPANY", options->company, "Org ID of the company")->required();
  command->add_option("--name", options->name, "Name of the company when it is created");
  command->add_flag("--interleaved", options->interleaved,
                    "Mix taxable, exempt, already converted and other-province records in key "
                    "order (seven, then one of each, in every ten keys)");
  for (const RecordKind& kind : recordKinds()) {
    const std::string name = kind.name;
    command->add_option("--" + name, options->counts[name],
                        "Number of " + name + " (" + kind.headerView + ") to add");
  }
  command->callback([options] { generate(*options); });
}

}  // namespace erp
