#pragma once

#include "convert/ConversionEngine.h"
#include "convert/ProgressControls.h"
#include "host/controls/FilterWindow.h"
#include "host/controls/GridControl.h"
#include "host/controls/StandaloneField.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace convert::testing {

/// A pump that lets a test act in the middle of a run, as a click on Cancel would.
class ScriptedPump : public host::EventPump {
 public:
  void ProcessPendingMessages() override {
    if (onMessages) onMessages();
  }
  std::function<void()> onMessages;
};

/// A filter window that hands back a prepared filter.
class FixedFilterWindow : public host::FilterWindow {
 public:
  std::string Choose(host::DataSource&, const std::string&) override { return filter; }
  std::string filter;
};

/// A from or to tax-group mapping set up the way start-up does it.
struct TaxGroupMapping {
  host::GridControl grid;
  host::FieldEditControl edit;
  std::unique_ptr<grids::TaxGroupGrid> mapping;
};

/// A stand-in company, the tax data sources, a conversion engine on them and helpers that set up
/// grids, range controls and criteria as start-up and the targets do.
class ConversionFixture : public ::testing::Test {
 protected:
  ConversionFixture();

  /// A mapping with a class column, its tax group typed by the operator.
  std::unique_ptr<TaxGroupMapping> taxGroupMapping(const std::string& caption, int transactionType,
                                                   const std::string& group);
  /// A range control defined like field `number` of `source`, holding `value`.
  std::unique_ptr<host::FieldEditControl> rangeControl(host::DataSource& source, int number,
                                                       const std::string& value);
  /// A criteria field on `control` and `source` whose filter is `filter`.
  std::unique_ptr<grids::CriteriaField> criteria(host::FieldEditControl& control,
                                                 host::DataSource& source,
                                                 const std::string& filter);
  /// The whole log file of `logName` for today, each line's stamp replaced by "<stamp>".
  std::string log(const std::string& logName);

  host::testing::StandinCompany company;
  std::unique_ptr<host::DataSource> txgrp;
  std::unique_ptr<host::DataSource> txclass;
  std::unique_ptr<host::DataSource> txauth;
  RunState state;
  host::ProgressBar progress;
  host::TextBox processing;
  ScriptedPump pump;
  ProgressControls observer{progress, processing, pump};
  FixedFilterWindow filterWindow;
  std::unique_ptr<ConversionEngine> engine;
};

}  // namespace convert::testing
