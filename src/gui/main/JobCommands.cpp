#include "gui/main/JobCommands.h"

#include "app/JobLoad.h"
#include "app/Layout.h"
#include "batch/JobFile.h"
#include "batch/JobWriter.h"
#include "gui/controls/QtText.h"
#include "platform/AtomicFile.h"

#include <QFileDialog>

#include <sstream>
#include <stdexcept>

namespace gui {
namespace {

const QString kJobFiles = QStringLiteral("Job files (*.ini);;All files (*)");

/// Why a job that names a Web API cannot run in a window signed on elsewhere; empty when it can.
std::string ServerProblem(const batch::Job& job, const host::Session& session) {
  const std::string& server = job.webApi.text;
  if (server.empty() || server == session.WebApiAddress()) return {};
  const std::string here = session.WebApiAddress().empty()
                               ? std::string("the local ERP")
                               : "the Web API at " + session.WebApiAddress();
  return "The job converts through the Web API at " + server + ", but Ordavel is signed on to " +
         here + ".";
}

/// The window's set-up as a job that runs where the window does: a window on a Web API names
/// its server and the folder below which its logs go, or the job would run on the local ERP.
batch::Job JobOfWindow(app::Form1& form) {
  batch::Job job{app::WindowJob(form), {}, {}};
  const host::Session& session = *form.Connection()->Session();
  job.webApi.text = session.WebApiAddress();
  if (!job.webApi.text.empty()) {
    job.logFolder.text = std::filesystem::path(session.LogFolder()).parent_path().string();
  }
  return job;
}

std::string Lines(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += problem + '\n';
  return text;
}

}  // namespace

JobCommands::JobCommands(app::Form1& form, QWidget& parent, FileChooser openFile,
                         FileChooser saveFile)
    : form_(form), parent_(parent), openFile_(std::move(openFile)), saveFile_(std::move(saveFile)) {
  if (!openFile_) {
    openFile_ = [this](const std::string& folder) {
      return controls::FromQt(QFileDialog::getOpenFileName(&parent_, QStringLiteral("Open Job"),
                                                           controls::ToQt(folder), kJobFiles));
    };
  }
  if (!saveFile_) {
    saveFile_ = [this](const std::string& folder) {
      return controls::FromQt(QFileDialog::getSaveFileName(&parent_, QStringLiteral("Save as Job"),
                                                           controls::ToQt(folder), kJobFiles));
    };
  }
}

void JobCommands::OpenJob() {
  if (!form_.Connection() || (form_.Run() && form_.Run()->Running())) return;
  const std::string file = openFile_(std::filesystem::current_path().string());
  if (!file.empty()) Load(file);
}

bool JobCommands::Load(const std::filesystem::path& file) {
  batch::Job job;
  try {
    job = batch::ReadJobFile(file.string());
  } catch (const batch::JobFileError& error) {
    Refuse(file, std::string(error.what()) + '\n');
    return false;
  }
  if (const std::string problem = ServerProblem(job, *form_.Connection()->Session());
      !problem.empty()) {
    Refuse(file, problem + '\n');
    return false;
  }
  const std::vector<std::string> problems = app::LoadJob(form_, job);
  if (!problems.empty()) {
    Refuse(file, Lines(problems));
    return false;
  }
  return true;
}

void JobCommands::Refuse(const std::filesystem::path& file, const std::string& problems) {
  form_.Messages().Show("The job " + file.string() + " cannot be opened:\n" + problems,
                        app::kProgramTitle, host::MessageIcon::Critical);
}

void JobCommands::SaveAsJob() {
  if (!form_.Connection() || (form_.Run() && form_.Run()->Running())) return;
  std::string file = saveFile_(std::filesystem::current_path().string());
  if (file.empty()) return;
  if (std::filesystem::path(file).extension().empty()) file += ".ini";
  Save(file);
}

bool JobCommands::Save(const std::filesystem::path& file) {
  std::ostringstream text;
  std::string why;
  try {
    batch::WriteJob(text, JobOfWindow(form_));
    if (platform::WriteFileAtomically(file, text.str())) return true;
  } catch (const std::invalid_argument& error) {
    why = std::string(" ") + error.what();
  }
  form_.Messages().Show("The job could not be written to " + file.string() + "." + why,
                        app::kProgramTitle, host::MessageIcon::Critical);
  return false;
}

}  // namespace gui
