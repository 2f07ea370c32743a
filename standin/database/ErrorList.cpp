#include "standin/database/ErrorList.h"

#include <utility>

namespace erp {

void ErrorList::add(int priority, std::string text, std::string source, std::string help) {
  entries_.push_back({priority, std::move(text), std::move(source), std::move(help)});
}

}  // namespace erp
