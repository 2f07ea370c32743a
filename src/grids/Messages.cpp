#include "grids/Messages.h"

namespace grids {

std::string CannotBeBlank(const std::string& what) {
  return "Invalid input. " + what + " cannot be blank.";
}

std::string DoesNotExist(const std::string& what, const std::string& value) {
  return "Invalid input. " + what + " " + value + " does not exist.";
}

std::string TaxInPriceNotAllowed(const std::string& authority) {
  return "Invalid input. " + authority + " does not allow tax in price.";
}

std::string NoOperations(const std::string& name) {
  return "Incorrect procedure. There are no operations to perform on " + name + ".";
}

}  // namespace grids
