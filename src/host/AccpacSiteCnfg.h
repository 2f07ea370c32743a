#pragma once

#include "host/AccpacPaths.h"
#include "host/SharedLibrary.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace host {

/// The ERP's site configuration record (client, dealer, consultant, contact), read through the
/// ERP's own library "a4wapi.dll" in the runtime folder.
class AccpacSiteCnfg {
 public:
  /// LastError when "a4wapi.dll" or one of its entry points could not be loaded.
  static constexpr std::int16_t kLibraryUnavailable = -1;

  /// A closed configuration of the installation that `paths` describes.
  explicit AccpacSiteCnfg(AccpacPaths paths);
  /// Closes the configuration when it is open.
  ~AccpacSiteCnfg();
  AccpacSiteCnfg(const AccpacSiteCnfg&) = delete;
  AccpacSiteCnfg& operator=(const AccpacSiteCnfg&) = delete;

  /// Opens the site configuration of the shared-data folder; true when it is open.
  bool OPEN_();
  /// Closes the configuration when it is open.
  void CLOSE_();
  /// Reads the record of the current org ID; false (LastError 1) when not open.
  bool Get_();

  /// The six org ID bytes as text, not trimmed.
  std::string OrgID() const;
  /// Fills the org ID with blanks, then puts the first six characters of `sOrgId` in front.
  void OrgID(const std::string& sOrgId);
  /// The client ID of the record read last, trailing blanks removed.
  std::string ClientID() const;
  /// The client name, trailing blanks removed.
  std::string ClientName() const;
  /// The dealer, trailing blanks removed.
  std::string Dealer() const;
  /// The consultant, trailing blanks removed.
  std::string Consultant() const;
  /// The contact, trailing blanks removed.
  std::string Contact() const;
  /// Whether the configuration is open.
  bool IsOpen() const { return open_; }
  /// The result code of the last open or read.
  std::int16_t LastError() const { return lastError_; }

 private:
  using OpenEntry = std::int32_t(std::int32_t*, const char*);
  using GetEntry = std::int32_t(std::int32_t, char*, std::int32_t);
  using CloseEntry = void(std::int32_t);

  bool LoadLibrary();
  std::string Field(std::size_t offset, std::size_t length) const;

  AccpacPaths paths_;
  std::unique_ptr<SharedLibrary> library_;
  OpenEntry* openEntry_ = nullptr;
  GetEntry* getEntry_ = nullptr;
  CloseEntry* closeEntry_ = nullptr;
  bool open_ = false;
  std::int32_t handle_ = 0;
  std::array<char, 256> record_;
  std::int16_t lastError_ = 0;
};

}  // namespace host
