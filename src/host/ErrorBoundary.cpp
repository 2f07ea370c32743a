#include "host/ErrorBoundary.h"

#include <exception>

namespace host {

bool ShowErrorsOf(AccpacConnection& connection, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& error) {
    // A HostError's description is its what(); the ERP's own message tells the operator the rest.
    connection.PutError(error.what());
    connection.ShowErrors();
    return false;
  }
}

}  // namespace host
