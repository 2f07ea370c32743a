#include "standin/site/ErpErrorDisplay.h"

#include <ostream>

namespace erp {

std::string priorityName(int priority) {
  switch (priority) {
    case kMessage:
      return "Message";
    case kWarning:
      return "Warning";
    case kError:
      return "Error";
    case kSecurity:
      return "Security";
    default:
      return "Priority " + std::to_string(priority);
  }
}

ConsoleErrorDisplay::ConsoleErrorDisplay(std::ostream& out) : out_(out) {}

void ConsoleErrorDisplay::show(const ErrorList& errors) {
  for (const ErrorEntry& entry : errors.entries()) {
    out_ << priorityName(entry.priority) << ": " << entry.text << '\n';
  }
  out_.flush();
}

}  // namespace erp
