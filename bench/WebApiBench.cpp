// Converts N customers from ONGSTPST to ONHST through the whole program path twice on the same
// company: directly through the stand-in's views, and through the ERP's Web API served by the
// stand-in's server in a process of its own on loopback. Prints records per second of both side
// by side, and the requests each record took through the Web API; each figure is the best of
// three rounds, as the machine may be busy with other work.
//
//   webapi_bench [N]      (default 5000)

#include "bench/CustomerMapping.h"
#include "convert/ConversionEngine.h"
#include "host/webapi/WebApiHost.h"

#include "standin/site/SiteDatabase.h"
#include "standin/webapi/WebApiServer.h"

#include <SQLiteCpp/Database.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// Gives user BENCH's credentials for company BENCH once.
class BenchCredentials : public host::CredentialsPrompt {
 public:
  std::optional<host::SignonCredentials> Ask(const std::string& refusal) override {
    if (!refusal.empty()) throw std::runtime_error("sign-on refused: " + refusal);
    return host::SignonCredentials{"BENCH", "bench", "BENCH"};
  }
};

/// What one conversion through the Web API measured.
struct Measured {
  double seconds = 0;
  long requests = 0;
};

/// Converts every ONGSTPST customer of company BENCH through the Web API at `url`.
Measured ConvertThroughWebApi(const std::string& url, const std::filesystem::path& logs) {
  host::webapi::WebApiSettings settings{host::webapi::ParseWebApiAddress(url), {}, logs};
  host::webapi::WebApiHost webApi(settings);
  BenchCredentials credentials;
  std::ostringstream shown;
  host::webapi::StreamErrorListView view(shown);
  host::AccpacConnection connection(webApi.Services(credentials, view));
  if (!connection.Logon("ZX1000", 0)) throw std::runtime_error("cannot sign on: " + shown.str());
  auto open = [&](const char* id) {
    auto source = webApi.DataSources().NewDataSource(id);
    source->SetDBLink(connection.CompanyDBLinkRW());
    source->SetOpen(true);
    return source;
  };
  auto txgrp = open("TX0003");
  auto txclass = open("TX0001");
  auto customers = open("AR0024");
  grids::ErrorDisplayFactory errors = [&view] {
    return std::make_unique<host::webapi::WebApiErrorDisplay>(view);
  };
  auto from = bench::mapping(errors, *txgrp, *txclass, "From Sales Tax Group", "ONGSTPST");
  auto to = bench::mapping(errors, *txgrp, *txclass, "To Sales Tax Group", "ONHST");
  struct NoFilterWindow : host::FilterWindow {
    std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
  } filterWindow;
  grids::CriteriaField criteria{filterWindow};
  from->taxGroupGrid->adsHeader(customers.get());
  from->taxGroupGrid->Filter("(CODETAXGRP= \"ONGSTPST \")");
  from->taxGroupGrid->lTaxGroupIDX(38);
  from->taxGroupGrid->TaxClassFieldPrefix("TAXSTTS");
  from->taxGroupGrid->TaxRegistrationFieldPrefix("IDTAXREGI");
  convert::RunState state;
  convert::RunObserver observer;
  convert::ConversionEngine engine(connection, state, observer);
  const auto& session = dynamic_cast<host::webapi::WebApiSession&>(*connection.Session());
  const long before = session.Company().Client().Transport().Counts().requests;
  const Clock::time_point start = Clock::now();
  engine.CopyTaxGroupGridSettings(*from->taxGroupGrid, *to->taxGroupGrid);
  engine.StartTaxGroupLog(*from->taxGroupGrid, *to->taxGroupGrid, "AR_Customers");
  engine.ConvertTaxGroupRecords(*from->taxGroupGrid, *to->taxGroupGrid, criteria);
  const Measured measured{seconds(start),
                          session.Company().Client().Transport().Counts().requests - before};
  if (to->taxGroupGrid->lUpdated() != to->taxGroupGrid->lRecords() ||
      to->taxGroupGrid->lRecords() == 0) {
    throw std::runtime_error("the Web API converted " +
                             std::to_string(to->taxGroupGrid->lUpdated()) + " of " +
                             std::to_string(to->taxGroupGrid->lRecords()) + " customers");
  }
  return measured;
}

/// Converts every ONGSTPST customer directly through the stand-in's views, `perCommit` records
/// per commit.
double ConvertDirectly(const std::filesystem::path& shared, int perCommit) {
  bench::CustomerRun run(shared);
  convert::RunState state;
  convert::RunObserver observer;
  convert::ConversionEngine engine(run.connection, state, observer);
  engine.SetRecordsPerCommit(perCommit);
  const Clock::time_point start = Clock::now();
  run.Convert(engine, "(CODETAXGRP= \"ONGSTPST \")");
  return seconds(start);
}

void ResetCustomers(const std::filesystem::path& database, const std::filesystem::path& logs) {
  {
    SQLite::Database db(database.string(), SQLite::OPEN_READWRITE);
    db.exec("UPDATE AR0024 SET CODETAXGRP = 'ONGSTPST', TAXSTTS1 = 1, TAXSTTS2 = 1");
  }
  std::filesystem::remove_all(logs);
  ::sync();
}

/// Serves the site from a process of its own until its input ends; its base address goes to
/// `urlFile`.
int Serve(const std::filesystem::path& shared, const std::filesystem::path& urlFile) {
  erp::webapi::ServerOptions options;
  options.site = shared;
  erp::webapi::WebApiServer server(options);
  server.start();
  const std::filesystem::path written = urlFile.string() + ".new";
  std::ofstream(written) << server.baseUrl() << '\n';
  std::filesystem::rename(written, urlFile);
  for (char c = 0; std::cin.get(c);) {
  }
  server.stop();
  return 0;
}

int Measure(size_t count) {
  const auto site = std::filesystem::temp_directory_path() /
                    ("ordavel-webapi-bench-" + std::to_string(::getpid()));
  const std::filesystem::path shared = bench::GenerateBenchSite(site, count);
  const erp::SiteLayout layout(shared);
  {
    erp::SiteDatabase database(layout);
    for (const char* module : {"TX", "AR"}) database.grantWebApi("BENCH", module);
  }
  const std::filesystem::path database = layout.companyDatabase("BENCH");
  const std::filesystem::path logs = layout.companyFolder("BENCH") / "Ordavel";
  const std::filesystem::path webApiLogs = site / "webapi-logs";

  const std::filesystem::path urlFile = site / "server.url";
  const std::string command = "exec '" + std::filesystem::canonical("/proc/self/exe").string() +
                              "' --serve '" + shared.string() + "' '" + urlFile.string() + "'";
  FILE* server = ::popen(command.c_str(), "w");
  if (!server) throw std::runtime_error("the server cannot be started");
  for (int wait = 0; wait < 100 && !std::filesystem::exists(urlFile); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::string url;
  std::ifstream(urlFile) >> url;
  if (url.empty()) throw std::runtime_error("the server did not start");

  double batched = 0, single = 0;
  Measured webApi;
  auto best = [](double& kept, double measured) {
    if (kept == 0 || measured < kept) kept = measured;
  };
  for (int round = 0; round < 3; ++round) {
    best(batched, ConvertDirectly(shared, 100));
    ResetCustomers(database, logs);
    best(single, ConvertDirectly(shared, 1));
    ResetCustomers(database, logs);
    const Measured measured = ConvertThroughWebApi(url, webApiLogs);
    if (webApi.seconds == 0 || measured.seconds < webApi.seconds) webApi = measured;
    ResetCustomers(database, webApiLogs);
  }
  auto rate = [count](const char* label, double seconds) {
    std::printf("%-44s %8.0f records/s  (%.2f s)\n", label, static_cast<double>(count) / seconds,
                seconds);
  };
  std::printf("customers                                    %8zu  (best of 3 rounds)\n", count);
  rate("direct (stand-in views), 100 per commit", batched);
  rate("direct (stand-in views), 1 per commit", single);
  rate("Web API, erp webapi on loopback, 1 per commit", webApi.seconds);
  std::printf("%-44s %8.1f\n", "requests per customer through the Web API",
              static_cast<double>(webApi.requests) / static_cast<double>(count));
  std::printf("%-44s %8.1f\n", "ratio direct (1 per commit) / Web API", webApi.seconds / single);
  ::pclose(server);
  std::filesystem::remove_all(site);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--serve") return Serve(argv[2], argv[3]);
    return Measure(argc > 1 ? std::stoul(argv[1]) : 5000);
  } catch (const std::exception& error) {
    std::cerr << "webapi_bench: " << error.what() << '\n';
    return 1;
  }
}
