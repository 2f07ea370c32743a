#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gui {

/// One row of a plan's table: a kind of one company with its records selected, converted (or
/// that would be), skipped, not affected and failed.
struct PlanTableRow {
  std::string company;
  std::string kind;
  std::array<std::int64_t, 5> counts{};

  bool operator==(const PlanTableRow&) const = default;
};

/// The rows of the table that `ordavel-batch --plan` prints at its end, in order, the total row
/// last (its company empty, its kind "Total"); none when the output holds no table.
std::vector<PlanTableRow> PlanTableOf(const std::string& output);

/// The plan-run file the output names; nothing when it names none.
std::optional<std::string> PlanRunFileOf(const std::string& output);

/// What an exit status of `ordavel-batch --plan` means, for the dialog's result line.
std::string PlanStatusText(int status, bool preview);

}  // namespace gui
