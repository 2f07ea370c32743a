#include "host/webapi/WebApiSession.h"

#include "host/HostError.h"
#include "host/webapi/WebApiFailure.h"
#include "host/webapi/WebApiLink.h"
#include "platform/Text.h"
#include "platform/UserSecret.h"

#include <sys/stat.h>

namespace host::webapi {
namespace {

constexpr std::int32_t kSessionError = static_cast<std::int32_t>(0x80041104u);
constexpr int kPriorityWarning = 2;
constexpr int kCompanyLink = 1;
constexpr int kReadOnlyFlag = 1;
/// Bytes of a change-file key: as long as the digest's own.
constexpr std::size_t kKeySize = 32;

WebApiSession& SessionOf(host::Session& session) {
  auto* webApi = dynamic_cast<WebApiSession*>(&session);
  if (!webApi) throw HostError(kSessionError, "Not a session of the Web API.");
  return *webApi;
}

SignonField FaultOf(const WebApiFailure& failure) {
  if (failure.What() != WebApiFailure::Kind::Answered) return SignonField::None;
  return failure.Status() == 401 ? SignonField::Password : SignonField::Company;
}

/// Creates the folders of `folder` that are missing, readable by their owner only.
bool MakeFolders(const std::filesystem::path& folder, std::string& problem) {
  std::filesystem::path made;
  for (const auto& part : folder) {
    made /= part;
    std::error_code error;
    if (std::filesystem::is_directory(made, error)) continue;
    if (::mkdir(made.c_str(), 0700) != 0 && !std::filesystem::is_directory(made, error)) {
      problem = "the log folder " + folder.string() + " cannot be created.";
      return false;
    }
  }
  return true;
}

/// Why the user's key file cannot sign this session's change files; empty when it can. A
/// session that saves makes the key at once, one that only reads needs none yet.
std::string KeyProblem(const std::filesystem::path& keyFile, host::CompanyAccess access) {
  if (keyFile.empty()) return {};
  try {
    platform::UserSecret(keyFile, kKeySize, access == host::CompanyAccess::ReadWrite);
  } catch (const platform::UserSecretError& error) {
    return error.what();
  }
  return {};
}

}  // namespace

std::filesystem::path DefaultKeyFile() {
  return platform::UserConfigFolder() / "webapi-change-files.key";
}

WebApiSession::WebApiSession(std::shared_ptr<WebApiCompany> company,
                             std::filesystem::path logFolder, host::CompanyAccess access,
                             std::filesystem::path keyFile, std::string address)
    : company_(std::move(company)),
      logFolder_(std::move(logFolder)),
      access_(access),
      keyFile_(std::move(keyFile)),
      address_(std::move(address)) {}

std::string WebApiSession::ChangeFileKey(bool create) {
  if (keyFile_.empty()) return {};
  return platform::UserSecret(keyFile_, kKeySize, create);
}

std::shared_ptr<DatabaseLink> WebApiSession::OpenDBLink(int type, int flags) {
  if (type != kCompanyLink) {
    throw HostError(kSessionError, "The Web API has no system database link.", "ERP.WebAPI");
  }
  // A preview's session changes its views' records as a conversion would, and saves none.
  return std::make_shared<WebApiLink>(company_, *this, flags == kReadOnlyFlag,
                                      access_ == host::CompanyAccess::ReadWrite);
}

WebApiSessionManager::WebApiSessionManager(WebApiSettings settings, const PropertyMaps& maps,
                                           CredentialsAsker ask, ErrorListView& notices,
                                           host::CompanyAccess access)
    : settings_(std::move(settings)),
      maps_(maps),
      ask_(std::move(ask)),
      notices_(notices),
      access_(access) {}

std::filesystem::path WebApiSessionManager::LogFolderOf(const std::string& company) const {
  return settings_.logRoot / company;
}

CreatedSession WebApiSessionManager::CreateSession(const std::string& objectHandle) {
  if (!objectHandle.empty()) {
    throw HostError(kSessionError,
                    "A desktop session cannot be joined through the Web API; sign on instead.",
                    "ERP.WebAPI");
  }
  std::string refusal;
  SignonField fault = SignonField::None;
  while (std::optional<SignonCredentials> credentials = ask_(refusal, fault)) {
    const std::string company = platform::UpperCase(platform::Trim(credentials->company));
    const std::string user = platform::UpperCase(platform::Trim(credentials->userId));
    auto transport = std::make_unique<WebApiTransport>(settings_.address, settings_.transport);
    transport->SetCredentials(user, credentials->password);
    auto connected = std::make_shared<WebApiCompany>(std::move(transport), company, user, maps_);
    std::vector<std::string> warnings;
    try {
      warnings = connected->Connect();
    } catch (const WebApiFailure& failure) {
      refusal = failure.what();
      fault = FaultOf(failure);
      continue;
    }
    if (!MakeFolders(LogFolderOf(company), refusal)) {
      refusal = "The sign-on cannot keep its logs: " + refusal;
      fault = SignonField::None;
      continue;
    }
    if (std::string problem = KeyProblem(settings_.keyFile, access_); !problem.empty()) {
      refusal = "The sign-on cannot sign its change files: " + problem;
      fault = SignonField::None;
      continue;
    }
    if (!warnings.empty()) {
      std::vector<ErrorListEntry> entries;
      for (const std::string& warning : warnings) entries.push_back({kPriorityWarning, warning});
      notices_.Show(entries);
    }
    return {++signons_,
            std::make_shared<WebApiSession>(std::move(connected), LogFolderOf(company), access_,
                                            settings_.keyFile, settings_.address.Text())};
  }
  return {};
}

void WebApiErrorDisplay::Put(host::Session& session, const std::string&, int priority,
                             const std::string& text, const std::string&, const std::string&, int) {
  SessionOf(session).Company().Errors().Add(priority, text);
}

void WebApiErrorDisplay::Show(host::Session& session) {
  const auto& entries = SessionOf(session).Company().Errors().Entries();
  if (!entries.empty()) view_.Show(entries);
}

void WebApiErrorDisplay::Clear(host::Session& session) {
  SessionOf(session).Company().Errors().Clear();
}

void StreamErrorListView::Show(const std::vector<ErrorListEntry>& entries) {
  static const char* const kNames[] = {"Message", "Warning", "Error", "Security"};
  for (const ErrorListEntry& entry : entries) {
    const bool named = entry.priority >= 1 && entry.priority <= 4;
    out_ << (named ? std::string(kNames[entry.priority - 1])
                   : "Priority " + std::to_string(entry.priority))
         << ": " << entry.text << '\n';
  }
  out_.flush();
}

}  // namespace host::webapi
