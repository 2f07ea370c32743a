#pragma once

#include <cstdint>

namespace convert {

/// What a run counted for one kind: the records its filter selected and what became of them.
struct KindCounts {
  std::int32_t records = 0;
  std::int32_t updated = 0;
  std::int32_t skipped = 0;
  std::int32_t failed = 0;
  /// Records that had none of a plan's replaced authorities: neither converted nor skipped.
  std::int32_t notAffected = 0;

  bool operator==(const KindCounts&) const = default;
};

/// How one kind of a run ended.
struct KindOutcome {
  KindCounts counts;
  /// An error ended the kind's record loop: its records are not all counted.
  bool endedByError = false;
  /// The run was cancelled before or while the kind ran.
  bool cancelled = false;
};

}  // namespace convert
