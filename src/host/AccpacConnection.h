#pragma once

#include "host/DatabaseLink.h"
#include "host/Desktop.h"
#include "host/ErrorDisplay.h"
#include "host/LogFile.h"
#include "host/Session.h"
#include "host/SessionManager.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace host {

/// The platform pieces an AccpacConnection is made of; each is created when needed.
struct HostServices {
  std::function<std::unique_ptr<SessionManager>()> newSessionManager;
  std::function<std::unique_ptr<ErrorDisplay>()> newErrorDisplay;
  std::shared_ptr<DesktopLibrary> desktopLibrary;
  CommandLineReader commandLine;
  Clock clock = [] { return std::chrono::system_clock::now(); };
};

/// The program's one ERP session: signs on and off, hands out the session and its database
/// links, and fills, shows and clears the session's error list.
class AccpacConnection {
 public:
  explicit AccpacConnection(HostServices services);
  ~AccpacConnection();
  AccpacConnection(const AccpacConnection&) = delete;
  AccpacConnection& operator=(const AccpacConnection&) = delete;

  /// Signs on (joining the desktop's session, or asking the operator); true when a session is
  /// open. Host failures raise HostError with the general failure number.
  bool Logon(const std::string& sRotoID, std::int32_t hWnd);
  /// Why the last Logon opened no session, in the ERP's words (a desktop session that does not
  /// exist or has ended, a failing host); empty after a success or a cancelled sign-on.
  const std::string& SignonRefusal() const { return signonRefusal_; }
  /// Releases the links, signs off a session the program signed on itself, removes the desktop
  /// link. Never fails.
  void Logoff();

  /// The signed-on session, or nullptr.
  host::Session* Session() const { return session_.get(); }
  host::SessionManager& SessionMgr() const { return *sessionManager_; }

  std::shared_ptr<DatabaseLink> CompanyDBLinkRW();
  std::shared_ptr<DatabaseLink> CompanyDBLinkRO();
  /// The system links; nullptr when they cannot be opened.
  std::shared_ptr<DatabaseLink> SystemDBLinkRW();
  std::shared_ptr<DatabaseLink> SystemDBLinkRO();

  /// A new error display of the ERP, as the program's controls report and show their errors.
  std::unique_ptr<ErrorDisplay> NewErrorDisplay() const { return services_.newErrorDisplay(); }
  void PutError(const std::string& sError);
  void PutMessage(const std::string& sMessage);
  /// Shows the error list to the operator and leaves it empty.
  void ShowErrors();
  void ClearErrors();

  std::int32_t SignonID() const { return signonId_; }

  /// The company's log folder: the session's own, else shared data, "Company", the company ID,
  /// "Ordavel".
  std::string getLogPath() const;
  /// The log folder as it is spelled on disk, where the platform matched its name without
  /// regard to case: what the operator is shown and what the file browser opens.
  std::string LogFolderOnDisk() const;
  /// `sPrefix`, today's date as eight digits, `sSuffix` and ".log".
  std::string getLogFileName(const std::string& sPrefix, const std::string& sSuffix) const;
  /// Joins a folder and a name with one separator where neither has one.
  static std::string appendPath(const std::string& sPath, const std::string& sName);
  static std::string LogIndent(std::int16_t iLevel) { return host::LogIndent(iLevel); }
  /// Appends one stamped, indented line to `sLogFile` in the log folder. A line that cannot be
  /// written is dropped and counted, never reported as an error.
  void WriteLog(std::int16_t iLevel, const std::string& sLogFile, const std::string& sLogEntry);
  /// The line WriteLog would append now: stamp, indent, text and CR LF.
  std::string LogLine(std::int16_t iLevel, const std::string& sLogEntry) const;
  /// Appends `lines`, `lineCount` whole lines made by LogLine, to `sLogFile` in the log folder in
  /// one write; when they cannot be written they are dropped and counted as WriteLog does.
  void WriteLogLines(const std::string& sLogFile, const std::string& lines, long lineCount);
  /// The size of `sLogFile` in the log folder; 0 when it does not exist yet.
  std::int64_t LogFileSize(const std::string& sLogFile);
  bool LogExists(const std::string& sLogFile) const;
  /// Number of log lines that could not be written since the connection was created.
  long LostLogLines() const { return lostLogLines_; }
  std::string ObjectHandle() { return desktop_.ObjectHandle(); }

 private:
  bool SignOn(const std::string& sRotoID, std::int32_t hWnd);
  host::Session& RequireSession() const;
  std::shared_ptr<DatabaseLink> CompanyLink(std::shared_ptr<DatabaseLink>& link, int flags);
  std::shared_ptr<DatabaseLink> SystemLink(std::shared_ptr<DatabaseLink>& link, int flags);
  static void CloseLink(std::shared_ptr<DatabaseLink>& link);

  HostServices services_;
  std::unique_ptr<host::SessionManager> sessionManager_;
  std::shared_ptr<host::Session> session_;
  std::int32_t signonId_ = 0;
  bool loggedOn_ = false;
  std::string signonRefusal_;
  long lostLogLines_ = 0;
  LogFileTarget logFile_;
  std::shared_ptr<DatabaseLink> companyRW_;
  std::shared_ptr<DatabaseLink> companyRO_;
  std::shared_ptr<DatabaseLink> systemRW_;
  std::shared_ptr<DatabaseLink> systemRO_;
  Desktop desktop_;
};

}  // namespace host
