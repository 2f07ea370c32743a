#pragma once

#include "host/AccpacConnection.h"

#include <functional>

namespace host {

/// Runs an operator's action; an exception it raises (a HostError or any std::exception) is put
/// into the connection's error list with its description and shown, instead of leaving the
/// window's event handler. Returns whether the action ended normally.
bool ShowErrorsOf(AccpacConnection& connection, const std::function<void()>& action);

}  // namespace host
