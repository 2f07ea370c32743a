#include "app/JobLoad.h"

#include "convert/Conversion.h"
#include "convert/KindTable.h"
#include "convert/RequestEntry.h"
#include "platform/Text.h"

namespace app {
namespace {

std::vector<std::string> SessionProblems(Form1& form, const convert::ConversionRequest& job) {
  const host::Session* session = form.Connection() ? form.Connection()->Session() : nullptr;
  if (session == nullptr) return {"Ordavel is not signed on to a company."};
  std::vector<std::string> problems;
  if (platform::UpperCase(job.company) != platform::UpperCase(session->CompanyID())) {
    problems.push_back(job.Where(1) + "The job is for company " + job.company +
                       ", but Ordavel is signed on to " + session->CompanyID() + ".");
  }
  if (!form.SSTab1().TabEnabled(job.tab)) {
    problems.push_back(job.Where(job.tabLine) + "Tab " +
                       convert::RunTabs().at(static_cast<std::size_t>(job.tab)) +
                       " is not active in company " + session->CompanyID() + ".");
  }
  return problems;
}

/// Operations rows already in the window would run with the job's after them.
void EmptyOperationGrids(Form1& form, const std::string& tab) {
  for (const convert::MappingDef& mapping : convert::Mappings()) {
    if (mapping.tab != tab || mapping.type != convert::ConversionType::TaxAuthority) continue;
    if (!form.Built(mapping.grid)) continue;
    form.TaxAuthorityGridNamed(mapping.grid).Grid()->SetRowsCount(0);
  }
}

}  // namespace

std::vector<std::string> LoadJob(Form1& form, const convert::ConversionRequest& job) {
  std::vector<std::string> problems = SessionProblems(form, job);
  if (!problems.empty()) return problems;
  host::AccpacConnection& connection = *form.Connection();
  convert::ConversionRequest whole;
  try {
    convert::Conversion entered(connection, form.DataSources(), job, convert::Claims::Leave);
    if (!entered.EntryProblems().empty()) return entered.EntryProblems();
    // What the job leaves out is what the batch's fresh controls start with, not what the
    // window's controls hold now.
    whole = convert::ReadRequest(entered.Controls(), job.tab,
                                 [&job](const std::string& box) { return job.Checked(box); });
  } catch (const std::exception& error) {
    return {error.what()};
  }
  const std::string& tab = convert::RunTabs().at(static_cast<std::size_t>(job.tab));
  form.SSTab1().SetTab(job.tab);
  for (const convert::KindDef* kind : convert::TabKinds(tab)) {
    form.CheckBoxNamed(kind->checkBox).SetValue(job.Checked(kind->checkBox) ? kChecked : 0);
  }
  EmptyOperationGrids(form, tab);
  convert::CapturedErrors shown(connection);
  return convert::EnterRequest(whole, form, shown);
}

convert::ConversionRequest WindowJob(Form1& form) {
  const int tab = form.SSTab1().Tab();
  convert::ConversionRequest job = convert::ReadRequest(form, tab, [&form](const std::string& box) {
    return form.CheckBoxNamed(box).Value() == kChecked;
  });
  if (const host::Session* session = form.Connection() ? form.Connection()->Session() : nullptr) {
    job.company = session->CompanyID();
    job.user = session->UserID();
  }
  return job;
}

}  // namespace app
