#pragma once

#include "app/Form1.h"
#include "host/standin/StandinDataSource.h"
#include "host/standin/StandinSession.h"
#include "host/testsupport/InstalledSite.h"
#include "host/testsupport/RecordingMessages.h"
#include "standin/site/tests/testsupport/ScriptedPrompt.h"
#include "util/tests/testsupport/Recording.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace app::testing {

/// The main window's tabs, by position.
inline constexpr int kAPTab = 0;
inline constexpr int kARTab = 1;
inline constexpr int kBankTab = 5;

using RecordingMessages = host::testing::RecordingMessages;

/// A pump that lets a test act while the window lets its messages run, as a click would.
class ScriptedPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override {
    if (onMessages) onMessages();
  }
  std::function<void()> onMessages;
};

/// A clock that moves on by the progress frame's interval at every reading, so that a run shows
/// its progress and lets window messages run at every point where it may, as a test that acts
/// there needs.
struct TickingClock {
  std::chrono::steady_clock::time_point now{};
  std::chrono::steady_clock::time_point operator()() { return now += RunProgress::kInterval; }
};

class NoFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string& filter) override { return filter; }
};

/// An installed stand-in ERP with company SAMLTD and the main window on it.
class Form1Fixture : public ::testing::Test {
 protected:
  /// Installs the ERP; with the site, SAMLTD gets tax data and each application active as itself.
  void Install(bool withSite, const std::vector<std::string>& applications) {
    std::vector<erp::ActiveApplication> active;
    for (const std::string& app : applications) active.push_back({app, app, "66A"});
    InstallWith(withSite, active);
  }

  void InstallWith(bool withSite, const std::vector<erp::ActiveApplication>& applications) {
    site.install();
    if (!withSite) return;
    site.createSite({"", "CLIENT", "Client", "", "", ""},
                    {"SAMLTD", "CLIENT", "Client", "", "", ""});
    company = site.addCompany(applications);
  }

  Form1& Window() {
    host::HostServices host =
        host::standin::StandinHostServices(site.sharedData(), prompt, display);
    form = std::make_unique<Form1>(Form1Services{
        .host = std::move(host),
        .readPaths = [this] { return readPaths ? readPaths() : site.paths(); },
        .dataSources = factory,
        .messages = messages,
        .shell = shell,
        .notifier = site.notifier,
        .pump = pump,
        .filterWindow = filterWindow,
        .programFolder = site.programs().string(),
        .about = aboutServices,
        .showAbout = [this](about::frmAbout& window) { shownAbout(window); },
        .clock = [this] { return clock(); },
    });
    return *form;
  }

  const std::vector<std::string> kAll{"TX", "AP", "AR", "IC", "OE", "PO", "BK"};
  host::testing::InstalledSite site;
  std::unique_ptr<erp::testing::TestCompany> company;
  /// Signs on as ADMIN to SAMLTD.
  erp::testing::ScriptedPrompt prompt{{erp::Credentials{"ADMIN", "admin", "SAMLTD"}}};
  std::ostringstream errors;
  erp::ConsoleErrorDisplay display{errors};
  host::standin::StandinDataSourceFactory factory;
  RecordingMessages messages;
  util::testing::RecordingShell shell;
  ScriptedPump pump;
  NoFilterWindow filterWindow;
  /// Replaces the installation's own paths when set.
  std::function<host::AccpacPaths()> readPaths;
  const about::AboutServices* aboutServices = nullptr;
  std::function<void(about::frmAbout&)> shownAbout = [](about::frmAbout&) {};
  std::function<std::chrono::steady_clock::time_point()> clock = TickingClock{};
  std::unique_ptr<Form1> form;
};

}  // namespace app::testing
