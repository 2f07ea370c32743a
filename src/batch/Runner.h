#pragma once

#include "batch/ExitStatus.h"
#include "batch/JobFile.h"
#include "batch/JobSession.h"
#include "convert/ConversionResult.h"
#include "convert/RunObserver.h"
#include "host/HeldClaims.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

/// The question every conversion asks before it changes anything.
inline constexpr const char* kBackupQuestion =
    "You should back up your database before converting tax information. Do you want to "
    "proceed?";

/// Enters the job into a conversion of its own on the session's company and runs every check
/// Convert runs, without asking or converting anything; returns every problem, an empty list
/// when the job would run. With `claims` the job's kinds are claimed too, as Convert claims
/// them, and the claims stay in `claims`.
std::vector<std::string> CheckJob(const Job& job, JobSession& session,
                                  host::HeldClaims* claims = nullptr);

/// Has the job checked and claimed (through `claims` when given, which keeps the claims) and,
/// when it was taken, asks the backup question and runs it, telling `observer` its progress; the
/// status comes from how the run ended and what it counted.
ExitStatus RunJob(const Job& job, JobSession& session, convert::RunObserver& observer,
                  std::ostream& out, host::HeldClaims* claims = nullptr,
                  std::filesystem::path* changeFile = nullptr);

/// Has the job checked and, when it was taken, takes its records through the views and saves
/// nothing; the status is the one the conversion would end with, and the change file tells
/// record by record what it would do.
ExitStatus PreviewJob(const Job& job, JobSession& session, convert::RunObserver& observer,
                      std::ostream& out, std::filesystem::path* changeFile = nullptr);

/// The exit status of a run that ended as `result` says.
ExitStatus StatusOfRun(const convert::ConversionResult& result);

}  // namespace batch
