#pragma once

#include <string>

namespace grids {

/// "Invalid input. <what> cannot be blank."
std::string CannotBeBlank(const std::string& what);
/// "Invalid input. <what> <value> does not exist."
std::string DoesNotExist(const std::string& what, const std::string& value);
/// "Invalid input. <authority> does not allow tax in price."
std::string TaxInPriceNotAllowed(const std::string& authority);
/// "Incorrect procedure. There are no operations to perform on <name>."
std::string NoOperations(const std::string& name);

}  // namespace grids
