#pragma once

#include "about/Pointer.h"
#include "about/Sources.h"
#include "about/Timer.h"
#include "util/Shell.h"

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

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

class RecordingShell : public util::Shell {
 public:
  int open(const std::string& target) override {
    opened.push_back(target);
    if (onOpen) onOpen();
    return result;
  }
  void explore(const std::string&) override {}

  int result = 42;
  std::vector<std::string> opened;
  std::function<void()> onOpen;
};

class RecordingNotifier : public util::Notifier {
 public:
  void critical(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

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
