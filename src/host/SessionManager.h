#pragma once

#include "host/Session.h"

#include <cstdint>
#include <memory>
#include <string>

namespace host {

/// Whether the sessions of a program may change the company's data or only read it.
enum class CompanyAccess { ReadWrite, ReadOnly };

/// What creating a session gives back: the signon ID and the session (null when none).
struct CreatedSession {
  std::int32_t signonId = 0;
  std::shared_ptr<Session> session;
  /// Why a desktop session could not be joined (no such session, it ended, ...); empty when
  /// there is nothing to tell, as after a cancelled sign-on.
  std::string refusal = {};
};

/// The ERP's session manager: signs the program on, by joining the desktop's session or by
/// asking the operator.
class SessionManager {
 public:
  virtual ~SessionManager() = default;

  virtual void SetAppID(const std::string& id) = 0;
  virtual void SetAppVersion(const std::string& version) = 0;
  virtual void SetProgramName(const std::string& name) = 0;
  virtual void SetServerName(const std::string& name) = 0;
  virtual bool NewSignon() const = 0;
  virtual void SetNewSignon(bool value) = 0;
  /// Creates a session for the desktop object handle (empty: the operator signs on).
  virtual CreatedSession CreateSession(const std::string& objectHandle) = 0;
  virtual void CloseSession(std::int32_t signonId) = 0;
};

}  // namespace host
