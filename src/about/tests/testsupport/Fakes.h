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
  void SetInterval(std::chrono::milliseconds value) override { interval = value; }
  void Start() override {
    running = true;
    ++starts;
  }
  void Stop() override { running = false; }
  bool IsRunning() const override { return running; }

  std::chrono::milliseconds interval{0};
  bool running = true;  // a timer the model must stop itself
  int starts = 0;
};

class FakePointer : public PointerPosition {
 public:
  Point Position() const override { return at; }
  Point at;
};

using util::testing::RecordingNotifier;
using util::testing::RecordingShell;

class FixedVersionTexts : public VersionTexts {
 public:
  std::string ProgramBuild() override {
    if (fails) throw std::runtime_error("no build");
    return "Build 9600 created on 2026/04/14";
  }
  std::string SystemManagerVersion() override {
    if (fails) throw std::runtime_error("no version");
    return "(6.6A)(Premium)(Build 40)(Product Update 2)";
  }
  bool fails = false;
};

class FixedSiteReader : public SiteConfigurationReader {
 public:
  std::optional<SiteClient> ReadSiteClient() override {
    if (fails) throw std::runtime_error("no library");
    return client;
  }
  std::optional<SiteClient> client = SiteClient{"Northwind Traders", "NW-0042"};
  bool fails = false;
};

}  // namespace about::testing
