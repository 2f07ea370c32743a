#include "host/Desktop.h"

#include "host/HostError.h"

#include <charconv>

namespace host {
namespace {

void PutInt32(DesktopLinkRecord& record, size_t offset, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace

Desktop::Desktop(std::shared_ptr<DesktopLibrary> library, CommandLineReader commandLine)
    : library_(std::move(library)), commandLine_(std::move(commandLine)) {}

Desktop::~Desktop() {
  try {
    Unlink();
  } catch (...) {
    // A destructor must not throw; the desktop drops stale links by itself.
  }
}

std::string Desktop::ObjectHandle() {
  if (objectHandle_) return *objectHandle_;
  std::optional<std::string> line;
  try {
    line = commandLine_ ? commandLine_() : std::nullopt;
  } catch (...) {
    line.reset();
  }
  if (!line || line->empty()) return {};
  // The handle is the first word. Leading blanks would make the first word empty and the
  // program would sign on by itself instead of joining the desktop, so they are skipped.
  std::string_view text = *line;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  objectHandle_ = std::string(text.substr(0, text.find(' ')));
  return *objectHandle_;
}

std::int32_t Desktop::ObjectID() {
  std::string handle = ObjectHandle();
  std::int32_t id = 0;
  auto [end, error] = std::from_chars(handle.data(), handle.data() + handle.size(), id);
  if (error != std::errc() || end != handle.data() + handle.size()) {
    throw HostError(HostError::kGeneralFailure,
                    "The desktop object handle " + handle + " is not a number.");
  }
  return id;
}

DesktopLinkRecord Desktop::BuildRecord(std::int32_t operation, std::int32_t hWnd,
                                       std::int32_t objectId) {
  DesktopLinkRecord record{};
  PutInt32(record, 0, static_cast<std::int32_t>(record.size()));
  PutInt32(record, 12, operation);
  PutInt32(record, 24, hWnd);
  PutInt32(record, 52, objectId);
  return record;
}

bool Desktop::Link(std::int32_t hWnd) {
  if (linked_) return true;
  if (ObjectHandle().empty()) {
    linked_ = false;
    return true;
  }
  if (library_->rotoCall(BuildRecord(kLinkWindow, hWnd, ObjectID())) != 0) return false;
  linked_ = true;
  return true;
}

void Desktop::Unlink() {
  if (linked_) library_->rotoCall(BuildRecord(kRemoveLink, 0, ObjectID()));
  linked_ = false;
}

}  // namespace host
