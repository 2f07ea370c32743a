// Opens the customer finder of a range field over a generated company of N customers, as the
// operator does with F5, and measures how long it takes until the dialog shows its first page.
//
//   gui_bench [N]      (default 100000)

#include "gui/controls/ApplicationLook.h"
#include "gui/controls/ControlServices.h"
#include "gui/controls/FieldEditWidget.h"
#include "gui/controls/FinderDialog.h"

#include "app/Layout.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinDialogs.h"

#include "standin/sample/CompanyGenerator.h"
#include "standin/sample/SiteFolder.h"
#include "standin/site/SiteDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

/// Signs the benchmark user on and shows errors on the standard error output.
class BenchDialogs : public host::SignonDialog, public host::ErrorListView {
 public:
  std::optional<host::SignonCredentials> Ask(const host::SignonRequest& request) override {
    if (!request.refusal.empty()) return std::nullopt;
    return host::SignonCredentials{"BENCH", "bench", "BENCH"};
  }
  void Show(const std::vector<host::ErrorListEntry>& entries) override {
    for (const auto& entry : entries) std::cerr << entry.text << '\n';
  }
};

double Milliseconds(const std::function<void()>& action) {
  const auto start = Clock::now();
  action();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

host::ViewFinder CustomerFinder() {
  const app::FinderSetup& setup = app::FinderSetupOf(app::FinderKind::Customer);
  host::ViewFinder finder;
  finder.ViewID = setup.viewId;
  finder.InitKeyType = 1;
  finder.DisplayFieldIDs = setup.display;
  finder.SearchFieldIDs = setup.search;
  finder.ReturnFieldIDs = setup.returned;
  return finder;
}

/// F5 in the control, until the finder has shown and drawn its first page; then Escape.
double OpenFinder(gui::controls::FieldEditWidget& control) {
  gui::controls::FinderDialog* finder = nullptr;
  const double opened = Milliseconds([&] {
    control.OpenFinder();
    finder = control.OpenedFinder();
    QCoreApplication::processEvents();
    if (finder) finder->repaint();
  });
  if (!finder || finder->Table().model()->rowCount() == 0) {
    throw std::runtime_error("the finder shows no customers");
  }
  finder->reject();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return opened;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::stoul(argv[1]) : 100000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const auto site =
      std::filesystem::temp_directory_path() / ("ordavel-gui-bench-" + std::to_string(::getpid()));
  std::filesystem::remove_all(site);
  setenv("ORDAVEL_REGISTRY", (site / "registry").c_str(), 1);
  erp::generateCompany(site, {"BENCH", "Benchmark Ltd.", {{"customers", count}}});
  const std::filesystem::path shared = erp::sharedDataOf(site);
  {
    erp::SiteDatabase siteDb{erp::SiteLayout(shared)};
    siteDb.addUser("BENCH", "Benchmark", "bench");
    siteDb.grantCompany("BENCH", "BENCH");
  }

  gui::controls::PrepareHighDpi();
  QApplication application(argc, argv);
  gui::controls::UsePlatformFont(application);
  gui::controls::MuteOffscreenNotes();
  BenchDialogs dialogs;
  host::AccpacConnection connection(host::standin::StandinDialogServices(shared, dialogs, dialogs));
  if (!connection.Logon(convert::kProgramId, 0)) {
    std::cerr << "cannot sign on\n";
    return 1;
  }
  host::standin::StandinDataSourceFactory dataSources;
  std::vector<double> reopened;
  double first = 0;
  double search = 0;
  {
    gui::controls::ControlServices services(connection, dataSources);
    host::FieldEditControl fromCustomer;
    fromCustomer.SetLeftLabel("Customer");
    fromCustomer.SetViewFinder(CustomerFinder());
    gui::controls::FieldEditWidget control(fromCustomer, services);
    control.show();
    QCoreApplication::processEvents();

    first = OpenFinder(control);
    for (int run = 0; run < 5; ++run) reopened.push_back(OpenFinder(control));
    std::sort(reopened.begin(), reopened.end());

    control.OpenFinder();
    gui::controls::FinderDialog& finder = *control.OpenedFinder();
    finder.SearchField().setCurrentIndex(1);
    finder.SearchText().setText("Catering");
    search = Milliseconds([&] {
      finder.Search();
      QCoreApplication::processEvents();
      finder.repaint();
    });
    finder.reject();
  }
  connection.Logoff();

  std::printf("customers                                  %zu\n", count);
  std::printf("finder dialog shown with its first page     %8.1f ms (first open)\n", first);
  std::printf("finder dialog shown, reopened               %8.1f ms median, %.1f ms slowest\n",
              reopened[reopened.size() / 2], reopened.back());
  std::printf("finder dialog search, name starts with      %8.1f ms\n", search);
  std::printf("finder dialog shown under 200 ms            %s\n", first < 200 ? "yes" : "NO");
  std::filesystem::remove_all(site);
  return 0;
}
