#include "standin/database/ProgramSecret.h"

#include <SQLiteCpp/Statement.h>

#include <sys/random.h>

#include <stdexcept>

namespace erp {
namespace {

constexpr const char* kTable = "program_secrets";

std::string readSecret(SQLite::Database& sql, const std::string& program) {
  if (!sql.tableExists(kTable)) return {};
  SQLite::Statement query(sql, "SELECT secret FROM program_secrets WHERE program = ?");
  query.bind(1, program);
  if (!query.executeStep()) return {};
  const SQLite::Column secret = query.getColumn(0);
  return std::string(static_cast<const char*>(secret.getBlob()),
                     static_cast<size_t>(secret.getBytes()));
}

std::string randomBytes(size_t size) {
  std::string bytes(size, '\0');
  if (::getrandom(bytes.data(), size, 0) != static_cast<ssize_t>(size)) {
    throw std::runtime_error("No random bytes could be had for a program's secret.");
  }
  return bytes;
}

}  // namespace

std::string ProgramSecret(CompanyDatabase& database, const std::string& program, bool create) {
  std::string secret = readSecret(database.sql(), program);
  if (!secret.empty() || !create) return secret;
  database.sql().exec(
      "CREATE TABLE IF NOT EXISTS program_secrets (program TEXT PRIMARY KEY, secret BLOB NOT "
      "NULL)");
  // Two runs that start at once may both get here: the first secret stays, and both read it.
  SQLite::Statement insert(database.sql(),
                           "INSERT OR IGNORE INTO program_secrets (program, secret) VALUES (?, ?)");
  const std::string made = randomBytes(32);
  insert.bind(1, program);
  insert.bind(2, made.data(), static_cast<int>(made.size()));
  insert.exec();
  return readSecret(database.sql(), program);
}

}  // namespace erp
