#include "host/controls/FieldEditControl.h"

#include "host/HostError.h"
#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace host {
namespace {

struct FieldEditRecorder : FieldEditEvents {
  explicit FieldEditRecorder(std::string name, std::vector<std::string>& log, bool cancel = false)
      : name_(std::move(name)), log_(log), cancel_(cancel) {}
  void OnValidate(FieldEditControl& control, bool& cancel) override {
    log_.push_back(name_ + " validate " + control.Value());
    if (cancel_) cancel = true;
  }
  void OnButtonPressed(FieldEditControl&, int code) override {
    log_.push_back(name_ + " button " + std::to_string(code));
  }
  void OnValueChanged(FieldEditControl& control) override {
    log_.push_back(name_ + " changed " + control.Value());
  }
  std::string name_;
  std::vector<std::string>& log_;
  bool cancel_;
};

class FieldEditControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    groups = company.open("TX0003");
    field = std::make_shared<StandaloneField>();
    field->DefineLike(groups->Fields(1));
    control.SetAccpacField(field);
  }
  testing::StandinCompany company;
  std::unique_ptr<DataSource> groups;
  std::shared_ptr<StandaloneField> field;
  FieldEditControl control;
  std::vector<std::string> log;
};

TEST_F(FieldEditControlTest, ShowsTheBoundFieldAndSetsItWithoutVerification) {
  field->PutWithoutVerification(std::string("HST"));
  EXPECT_EQ("HST", control.Value());
  control.SetValue("abc");
  EXPECT_EQ("abc", field->Text());
}

TEST_F(FieldEditControlTest, TypingVerifiesAndTellsEveryListenerInOrder) {
  FieldEditRecorder first("first", log), second("second", log);
  control.AddListener(&first);
  control.AddListener(&second);
  control.SetValue("quiet");
  control.Type("old");
  EXPECT_EQ((std::vector<std::string>{"first changed OLD", "second changed OLD"}), log);
}

TEST_F(FieldEditControlTest, RefusedTypingKeepsTheValueAndTellsNoOne) {
  FieldEditRecorder listener("l", log);
  control.AddListener(&listener);
  control.SetValue("OLD");
  EXPECT_THROW(control.Type("FAR TOO LONG A CODE"), HostError);
  EXPECT_EQ("OLD", control.Value());
  EXPECT_TRUE(log.empty());
}

TEST_F(FieldEditControlTest, ValidationCanBeCancelledByAnyListener) {
  FieldEditRecorder accepting("a", log), refusing("r", log, true);
  control.AddListener(&accepting);
  EXPECT_TRUE(control.Leave());
  control.AddListener(&refusing);
  EXPECT_FALSE(control.Leave());
  control.RemoveListener(&refusing);
  EXPECT_TRUE(control.Leave());
  EXPECT_EQ(4u, log.size());
}

TEST(FieldEditControlUnbound, KeepsItsOwnText) {
  FieldEditControl control;
  control.Type("free text");
  EXPECT_EQ("free text", control.Value());
  EXPECT_FALSE(control.AccpacField().IsBound());
  EXPECT_THROW(control.AccpacField().Value(), HostError);
}

}  // namespace
}  // namespace host
