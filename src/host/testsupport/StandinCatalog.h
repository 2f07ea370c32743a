#pragma once

#include "standin/catalog/ViewCatalog.h"

#include <string>

namespace host::testing {

/// The stand-in's definition of a view, for tests that check the program's tables against it.
inline const erp::ViewDef& StandinView(const std::string& id) {
  return erp::ViewCatalog::standard().get(id);
}

}  // namespace host::testing
