#include "util/IniFile.h"

#include "platform/AtomicFile.h"
#include "util/IniDocument.h"
#include "util/ResolvePathCase.h"

namespace util {
namespace {

std::filesystem::path resolved(const std::string& path) {
  return ResolvePathCase(path);
}

IniDocument load(const std::string& path) {
  std::string content;
  platform::ReadWholeFile(resolved(path), content);
  return IniDocument::parse(content);
}

std::string capped(std::string text) {
  if (text.size() > IniFile::kMaxRead) text.resize(IniFile::kMaxRead);
  return text;
}

}  // namespace

std::string IniFile::value() const {
  return capped(load(path_).value(section_, key_).value_or(default_));
}

}  // namespace util
