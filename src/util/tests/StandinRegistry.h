#pragma once

#include "standin/site/RegistryStore.h"

namespace util::testing {

/// The stand-in's file-backed registry, so that cRegistry is tested on the store the programs use.
using StandinRegistry = erp::RegistryStore;

}  // namespace util::testing
