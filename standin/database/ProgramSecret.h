#pragma once

#include "standin/database/CompanyDatabase.h"

#include <string>

namespace erp {

/// The secret a program keeps for itself in a company's database, readable by those who can read
/// the company's data and by nobody else; with `create`, one of 32 random bytes is made when the
/// program has none yet. Empty when there is none. Throws std::runtime_error when it cannot be
/// read or made.
std::string ProgramSecret(CompanyDatabase& database, const std::string& program, bool create);

}  // namespace erp
