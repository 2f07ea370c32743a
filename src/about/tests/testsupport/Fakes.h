#pragma once

#include "about/Pointer.h"
#include "about/Sources.h"
#include "about/Timer.h"
#include "util/tests/testsupport/Recording.h"

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

namespace about::testing {

class FakeTimer : public Timer {
 public:
  void setInterval(std::chrono::milliseconds value) override { interval = value; }
  void start() override {
    running = true;
    ++starts;
  }
  void stop() override { running = false; }
  bool isRunning() const override { return running; }

  std::chrono::milliseconds interval{0};
  bool running = true;  // a timer the model must stop itself
  int starts = 0;
};

class FakePointer : public PointerPosition {
 public:
  Point position() const override { return at; }
  Point at;
};

using util::testing::RecordingNotifier;
using util::testing::RecordingShell;

class FixedVersionTexts : public VersionTexts {
 public:
  std::string programBuild() override {
    if (fails) throw std::runtime_error("no build");
    return "Build 9600 created on 2026/04/14";
  }
  std::string systemManagerVersion() override {
    if (fails) throw std::runtime_error("no version");
    return "(6.6A)(Premium)(Build 40)(Product Update 2)";
  }
  bool fails = false;
};

class FixedSiteReader : public SiteConfigurationReader {
 public:
  std::optional<SiteClient> readSiteClient() override {
    if (fails) throw std::runtime_error("no library");
    return client;
  }
  std::optional<SiteClient> client = SiteClient{"Northwind Traders", "NW-0042"};
  bool fails = false;
};

}  // namespace about::testing
