#include "util/IniFile.h"

#include "platform/AtomicFile.h"
#include "util/IniDocument.h"
#include "util/ResolvePathCase.h"

namespace util {
namespace {

std::filesystem::path Resolved(const std::string& path) {
  return ResolvePathCase(path);
}

IniDocument Load(const std::string& path) {
  std::string content;
  platform::ReadWholeFile(Resolved(path), content);
  return IniDocument::Parse(content);
}

std::string Capped(const std::string& text) {
  return text.substr(0, IniFile::kMaxRead);
}

}  // namespace

std::string IniFile::value() const {
  return Capped(Load(path_).value(section_, key_).value_or(default_));
}

}  // namespace util
