#include "grids/ErrorReporter.h"

namespace grids {

void ErrorReporter::Report(host::Session& session, const std::string& text) const {
  newErrorDisplay_()->Put(session, "", kErrorPriority, text, "", "", 0);
}

void ErrorReporter::Show(host::Session& session) const {
  newErrorDisplay_()->Show(session);
  newErrorDisplay_()->Clear(session);
}

}  // namespace grids
