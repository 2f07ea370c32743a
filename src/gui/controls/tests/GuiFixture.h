#pragma once

#include "gui/controls/ControlServices.h"

#include "host/standin/StandinDataSource.h"
#include "host/testsupport/StandinCompany.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <functional>

namespace gui::controls::testing {

/// Answers the next modal dialog once it shows: `answer` runs on it, and a dialog still open
/// afterwards is cancelled, so that a failing check never leaves a test waiting.
void AnswerModal(std::function<void(QDialog&)> answer);

/// Lets posted events (deferred deletions, queued focus changes) run.
void Settle();

/// A signed-on stand-in company with its tax data, and the services the widgets need.
class GuiFixture : public ::testing::Test {
 protected:
  host::testing::StandinCompany company;
  host::standin::StandinDataSourceFactory dataSources;
  ControlServices services{company.connection(), dataSources};
};

}  // namespace gui::controls::testing
