#include "host/RecordProbe.h"

#include "platform/Text.h"

#include <optional>

namespace host {
namespace {

enum class State { After, Before, Neither };

/// The state the probe's record is in now, or nothing when it cannot be read.
std::optional<State> StateOf(const RecordProbe& probe, DataSource& header, DataSource* detail) {
  for (const auto& [number, text] : probe.key) header.Fields(number).PutWithoutVerification(text);
  if (!header.Read()) return std::nullopt;
  DataSource* source = &header;
  bool exists = true;
  if (probe.detailField != 0) {
    if (!detail) return std::nullopt;
    detail->ClearRecord();
    detail->Fields(probe.detailField).PutWithoutVerification(probe.detailValue);
    exists = detail->Read();
    source = detail;
  }
  // Stored texts are blank-padded as the ERP's are: trailing blanks never count.
  bool likeAfter = exists == probe.existsAfter;
  bool likeBefore = exists == probe.existedBefore;
  if (exists) {
    for (const RecordProbe::FieldState& field : probe.fields) {
      const std::string now = platform::TrimRight(source->Fields(field.number).Text());
      if (probe.existsAfter && now != platform::TrimRight(field.after)) likeAfter = false;
      if (probe.existedBefore && now != platform::TrimRight(field.before)) likeBefore = false;
    }
  }
  if (likeAfter) return State::After;
  return likeBefore ? State::Before : State::Neither;
}

}  // namespace

bool RecordProbe::Distinguishable() const {
  if (existedBefore != existsAfter) return true;
  if (!existsAfter) return false;
  for (const FieldState& field : fields) {
    if (platform::TrimRight(field.before) != platform::TrimRight(field.after)) return true;
  }
  return false;
}

BatchOutcome CheckProbes(const std::vector<RecordProbe>& probes, DataSource& header,
                         DataSource* detail) {
  bool sawBefore = false;
  for (const RecordProbe& probe : probes) {
    if (!probe.Distinguishable()) continue;
    std::optional<State> state;
    try {
      state = StateOf(probe, header, detail);
    } catch (const std::exception&) {
      continue;  // a record that cannot be read tells nothing
    }
    // A batch is committed as a whole: one record in its after state settles it, even when
    // another user has changed other records of it since.
    if (state == State::After) return BatchOutcome::Committed;
    if (state == State::Before) sawBefore = true;
  }
  return sawBefore ? BatchOutcome::RolledBack : BatchOutcome::Unknown;
}

}  // namespace host
