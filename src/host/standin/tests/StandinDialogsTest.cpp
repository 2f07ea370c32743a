#include "host/standin/StandinDialogs.h"

#include "host/testsupport/StandinCompany.h"

#include <gtest/gtest.h>

#include <deque>

namespace host::standin {
namespace {

TEST(RefusedFieldTest, NamesTheFieldEachRefusalIsAbout) {
  auto field = [](const std::string& refusal, const std::string& user) {
    return RefusedField(refusal, {user, "pw", "SAMLTD"});
  };
  EXPECT_EQ(SignonField::None, field("", "ADMIN"));
  EXPECT_EQ(SignonField::Password, field("Invalid user ID or password.", "ADMIN"));
  EXPECT_EQ(SignonField::UserID, field("Invalid user ID or password.", ""));
  EXPECT_EQ(SignonField::Company, field("Enter the company to sign on to.", "ADMIN"));
  EXPECT_EQ(SignonField::Company, field("User ADMIN may not sign on to company X.", "ADMIN"));
}

/// Answers from a script and keeps every request it was asked with.
class ScriptedDialog : public SignonDialog, public ErrorListView {
 public:
  std::optional<SignonCredentials> Ask(const SignonRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    SignonCredentials next = answers.front();
    answers.pop_front();
    return next;
  }
  void Show(const std::vector<ErrorListEntry>& entries) override { shown.push_back(entries); }

  std::deque<SignonCredentials> answers;
  std::vector<SignonRequest> requests;
  std::vector<std::vector<ErrorListEntry>> shown;
};

TEST(StandinDialogsTest, TheDialogSignsOnAfterARefusalAndShowsTheErrorList) {
  testing::StandinCompany site;
  ScriptedDialog dialog;
  dialog.answers = {{"ADMIN", "wrong", "SAMLTD"}, {"admin", "admin", "samltd"}};
  AccpacConnection connection(StandinDialogServices(site.sharedData(), dialog, dialog));
  ASSERT_TRUE(connection.Logon("ZX1000", 0));

  ASSERT_EQ(2u, dialog.requests.size());
  const SignonRequest& retry = dialog.requests[1];
  EXPECT_EQ("Invalid user ID or password.", retry.refusal);
  EXPECT_EQ(SignonField::Password, retry.fault);
  ASSERT_EQ(1u, retry.companies.size());
  EXPECT_EQ("SAMLTD", retry.companies[0].id);
  EXPECT_EQ("Sample Company Limited", retry.companies[0].name);

  connection.ShowErrors();
  EXPECT_TRUE(dialog.shown.empty()) << "an empty list is not shown";
  connection.PutMessage("Done.");
  connection.PutError("Failed.");
  connection.ShowErrors();
  ASSERT_EQ(1u, dialog.shown.size());
  EXPECT_EQ((std::vector<ErrorListEntry>{{1, "Done."}, {3, "Failed."}}), dialog.shown[0]);
  EXPECT_EQ(0, connection.Session()->Errors().Count());
}

}  // namespace
}  // namespace host::standin
