#include "host/AccpacSiteCnfg.h"

#include "platform/Text.h"
#include "util/ShellHelpers.h"

#include <algorithm>
#include <utility>

namespace host {
namespace {

constexpr std::size_t kOrgIdLength = 6;
constexpr std::size_t kClientId = 6;
constexpr std::size_t kClientName = 66;
constexpr std::size_t kDealer = 140;
constexpr std::size_t kConsultant = 175;
constexpr std::size_t kContact = 210;
constexpr std::size_t kLongText = 60;
constexpr std::size_t kShortText = 35;

}  // namespace

AccpacSiteCnfg::AccpacSiteCnfg(AccpacPaths paths) : paths_(std::move(paths)) {
  record_.fill(' ');
}

AccpacSiteCnfg::~AccpacSiteCnfg() {
  CLOSE_();
}

bool AccpacSiteCnfg::LoadLibrary() {
  if (library_) return openEntry_ != nullptr && getEntry_ != nullptr && closeEntry_ != nullptr;
  paths_.CWDToRuntime();
  library_ = std::make_unique<SharedLibrary>(util::JoinPath(paths_.RuntimePath(), "a4wapi.dll"));
  openEntry_ = library_->Entry<OpenEntry>("sitecnfgOpen");
  getEntry_ = library_->Entry<GetEntry>("sitecnfgGet");
  closeEntry_ = library_->Entry<CloseEntry>("sitecnfgClose");
  return openEntry_ != nullptr && getEntry_ != nullptr && closeEntry_ != nullptr;
}

bool AccpacSiteCnfg::OPEN_() {
  if (open_) return true;
  if (!LoadLibrary()) {
    lastError_ = kLibraryUnavailable;
    return false;
  }
  paths_.CWDToRuntime();
  lastError_ = static_cast<std::int16_t>(openEntry_(&handle_, paths_.SharedDataPath().c_str()));
  open_ = lastError_ == 0;
  return open_;
}

void AccpacSiteCnfg::CLOSE_() {
  if (!open_) return;
  paths_.CWDToRuntime();
  closeEntry_(handle_);
  open_ = false;
}

bool AccpacSiteCnfg::Get_() {
  if (!open_) {
    lastError_ = 1;
    return false;
  }
  paths_.CWDToRuntime();
  lastError_ = static_cast<std::int16_t>(
      getEntry_(handle_, record_.data(), static_cast<std::int32_t>(record_.size())));
  return lastError_ == 0;
}

std::string AccpacSiteCnfg::OrgID() const {
  return std::string(record_.data(), kOrgIdLength);
}

void AccpacSiteCnfg::OrgID(const std::string& sOrgId) {
  std::fill_n(record_.begin(), kOrgIdLength, ' ');
  std::copy_n(sOrgId.begin(), std::min(kOrgIdLength, sOrgId.size()), record_.begin());
}

std::string AccpacSiteCnfg::Field(std::size_t offset, std::size_t length) const {
  return platform::TrimRight(std::string_view(record_.data() + offset, length));
}

std::string AccpacSiteCnfg::ClientID() const {
  return Field(kClientId, kLongText);
}

std::string AccpacSiteCnfg::ClientName() const {
  return Field(kClientName, kLongText);
}

std::string AccpacSiteCnfg::Dealer() const {
  return Field(kDealer, kShortText);
}

std::string AccpacSiteCnfg::Consultant() const {
  return Field(kConsultant, kShortText);
}

std::string AccpacSiteCnfg::Contact() const {
  return Field(kContact, kShortText);
}

}  // namespace host
