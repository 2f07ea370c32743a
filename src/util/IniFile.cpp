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

std::string Capped(std::string text) {
  if (text.size() > IniFile::kMaxRead) text.resize(IniFile::kMaxRead);
  return text;
}

}  // namespace

std::string IniFile::value() const {
  return Capped(Load(path_).value(section_, key_).value_or(default_));
}

}  // namespace util
