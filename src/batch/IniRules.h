#pragma once

#include "util/IniDocument.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace batch {

/// The text of a job or plan file without a byte-order mark; nothing when it is not a regular
/// file.
std::optional<std::string> ReadIniText(const std::string& path);

/// Lines of no known form, malformed headers and repeated sections and keys, each as its line
/// and the problem: in a job or a plan each of them would silently lose or replace something
/// the operator wrote.
std::vector<std::pair<int, std::string>> IniShapeProblems(
    const std::vector<util::IniDocument::SectionLines>& sections);

/// The items of a comma-separated list, each without the blanks around it.
std::vector<std::string> SplitList(const std::string& text, char separator = ',');

/// The items joined by ", ".
std::string JoinList(const std::vector<std::string>& items);

}  // namespace batch
