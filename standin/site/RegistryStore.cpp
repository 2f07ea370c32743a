#include "standin/site/RegistryStore.h"

#include "platform/AtomicFile.h"
#include "platform/FileDescriptor.h"
#include "platform/Text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

namespace erp {
namespace {

constexpr const char* kHeader = "ordavel-registry 1";

struct Key {
  std::string name;
  std::vector<std::pair<std::string, RegistryValue>> values;
  std::map<std::string, Key> subKeys;  // by folded name, which gives the enumeration order
};

std::vector<std::string> splitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

const std::pair<RegistryHive, const char*> kHiveNames[] = {
    {kClassesRoot, "HKEY_CLASSES_ROOT"},
    {kCurrentUser, "HKEY_CURRENT_USER"},
    {kLocalMachine, "HKEY_LOCAL_MACHINE"},
    {kUsers, "HKEY_USERS"},
};

std::optional<RegistryHive> hiveByName(const std::string& name) {
  for (const auto& [hive, hiveName] : kHiveNames) {
    if (name == hiveName) return hive;
  }
  return std::nullopt;
}

bool isTextType(std::uint32_t type) {
  return type == kRegString || type == kRegExpandString || type == kRegMultiString;
}

// Control characters, the field separator and '%' itself are written as %XX, so that every
// record stays on one line and the file can still be read by a person.
std::string escape(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F || c == '%') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hexDigit(text[i + 1]);
    const int low = hexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string encodeData(const RegistryValue& value) {
  if (isTextType(value.type)) return escape(std::string(value.data.begin(), value.data.end()));
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t byte : value.data) {
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> decodeData(std::uint32_t type, const std::string& text) {
  if (isTextType(type)) {
    auto decoded = unescape(text);
    if (!decoded) return std::nullopt;
    return std::vector<std::uint8_t>(decoded->begin(), decoded->end());
  }
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = hexDigit(text[i]);
    const int low = hexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  for (char c : line) {
    if (c == '\t') {
      fields.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  fields.push_back(std::move(current));
  return fields;
}

class Tree {
 public:
  Tree() {
    for (const auto& [hive, name] : kHiveNames) hives_[hive].name = name;
  }

  Key* root(RegistryHive hive) {
    auto it = hives_.find(hive);
    return it == hives_.end() ? nullptr : &it->second;
  }

  Key* find(Key* key, const std::string& path) {
    for (const std::string& part : splitPath(path)) {
      auto it = key->subKeys.find(platform::FoldCase(part));
      if (it == key->subKeys.end()) return nullptr;
      key = &it->second;
    }
    return key;
  }

  Key* create(Key* key, const std::string& path) {
    for (const std::string& part : splitPath(path)) {
      auto [it, inserted] = key->subKeys.try_emplace(platform::FoldCase(part));
      if (inserted) it->second.name = part;
      key = &it->second;
    }
    return key;
  }

  std::optional<std::string> load(std::istream& in) {
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return "not a registry store of version 1";
    Key* current = nullptr;
    int number = 1;
    while (std::getline(in, line)) {
      ++number;
      if (line.empty() || line[0] == '#') continue;
      const std::vector<std::string> fields = splitFields(line);
      if (fields[0] == "key" && fields.size() == 3) {
        const auto hive = hiveByName(fields[1]);
        const auto path = unescape(fields[2]);
        if (!hive || !path) return "bad key at line " + std::to_string(number);
        current = create(root(*hive), *path);
      } else if (fields[0] == "value" && fields.size() == 4 && current) {
        const auto name = unescape(fields[1]);
        char* end = nullptr;
        const unsigned long type = std::strtoul(fields[2].c_str(), &end, 10);
        if (!name || fields[2].empty() || *end != '\0') {
          return "bad value at line " + std::to_string(number);
        }
        auto data = decodeData(static_cast<std::uint32_t>(type), fields[3]);
        if (!data) return "bad value data at line " + std::to_string(number);
        current->values.emplace_back(*name, RegistryValue{static_cast<std::uint32_t>(type), *data});
      } else {
        return "unknown line " + std::to_string(number);
      }
    }
    return std::nullopt;
  }

  std::string save() const {
    std::ostringstream out;
    out << kHeader << '\n';
    for (const auto& [hive, key] : hives_) {
      if (!key.values.empty()) writeKey(out, key.name, "", key);
      for (const auto& [folded, sub] : key.subKeys) writeTree(out, key.name, sub.name, sub);
    }
    return out.str();
  }

 private:
  static void writeKey(std::ostream& out, const std::string& hiveName, const std::string& path,
                       const Key& key) {
    out << "key\t" << hiveName << '\t' << escape(path) << '\n';
    for (const auto& [name, value] : key.values) {
      out << "value\t" << escape(name) << '\t' << value.type << '\t' << encodeData(value) << '\n';
    }
  }

  static void writeTree(std::ostream& out, const std::string& hiveName, const std::string& path,
                        const Key& key) {
    writeKey(out, hiveName, path, key);
    for (const auto& [folded, sub] : key.subKeys) {
      writeTree(out, hiveName, path + '\\' + sub.name, sub);
    }
  }

  std::map<RegistryHive, Key> hives_;
};

RegistryStatus loadTree(const std::filesystem::path& file, Tree& tree) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) ? RegistryStatus::kUnreadable : RegistryStatus::kOk;
  }
  return tree.load(in) ? RegistryStatus::kUnreadable : RegistryStatus::kOk;
}

RegistryStatus saveTree(const std::filesystem::path& file, const Tree& tree) {
  // The store names the installation's folders; only its owner reads or changes it.
  return platform::WriteFileAtomically(file, tree.save(), platform::FileAccess::kOwnerOnly)
             ? RegistryStatus::kOk
             : RegistryStatus::kWriteFailed;
}

// Serialises read-modify-write cycles of several processes; the lock lives beside the store
// because the store file itself is replaced on every write.
class WriteLock {
 public:
  explicit WriteLock(const std::filesystem::path& file) {
    std::error_code ec;
    if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path(), ec);
    const std::string lockFile = file.string() + ".lock";
    lock_ = platform::FileDescriptor::Open(lockFile, O_RDWR | O_CREAT, 0600);
    if (lock_.Valid()) {
      while (::flock(lock_.Get(), LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }

  bool held() const { return lock_.Valid(); }

 private:
  platform::FileDescriptor lock_;
};

template <typename Change>
RegistryStatus modify(const std::filesystem::path& file, RegistryHive hive, Change change) {
  WriteLock lock(file);
  if (!lock.held()) return RegistryStatus::kWriteFailed;
  Tree tree;
  if (RegistryStatus status = loadTree(file, tree); status != RegistryStatus::kOk) return status;
  Key* root = tree.root(hive);
  if (!root) return RegistryStatus::kInvalidHive;
  if (RegistryStatus status = change(tree, root); status != RegistryStatus::kOk) return status;
  return saveTree(file, tree);
}

template <typename Look>
RegistryStatus inspect(const std::filesystem::path& file, RegistryHive hive,
                       const std::string& path, Look look) {
  Tree tree;
  if (RegistryStatus status = loadTree(file, tree); status != RegistryStatus::kOk) return status;
  Key* root = tree.root(hive);
  if (!root) return RegistryStatus::kInvalidHive;
  Key* key = tree.find(root, path);
  if (!key) return RegistryStatus::kNotFound;
  return look(*key);
}

auto findValue(Key& key, const std::string& name) {
  return std::find_if(key.values.begin(), key.values.end(), [&](const auto& entry) {
    return platform::EqualsIgnoreCase(entry.first, name);
  });
}

}  // namespace

RegistryStore::RegistryStore() : RegistryStore(defaultLocation()) {}

// The program changes its working folder to the ERP's runtime folder before calling into the
// ERP, and the store is read again on every operation, so a relative name is fixed at once.
RegistryStore::RegistryStore(std::filesystem::path file)
    : file_(std::filesystem::absolute(std::move(file))) {}

std::filesystem::path RegistryStore::defaultLocation() {
  if (const char* explicitFile = std::getenv("ORDAVEL_REGISTRY"); explicitFile && *explicitFile) {
    return explicitFile;
  }
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::filesystem::path(home) / ".config";
  } else {
    config = ".config";
  }
  return config / "ordavel-erp" / "registry";
}

RegistryStatus RegistryStore::OpenKey(RegistryHive hive, const std::string& path) const {
  return inspect(file_, hive, path, [](Key&) { return RegistryStatus::kOk; });
}

RegistryStatus RegistryStore::createKey(RegistryHive hive, const std::string& path) {
  return modify(file_, hive, [&](Tree& tree, Key* root) {
    tree.create(root, path);
    return RegistryStatus::kOk;
  });
}

RegistryStatus RegistryStore::QueryValue(RegistryHive hive, const std::string& path,
                                         const std::string& name, RegistryValue& out) const {
  return inspect(file_, hive, path, [&](Key& key) {
    auto it = findValue(key, name);
    if (it == key.values.end()) return RegistryStatus::kNotFound;
    out = it->second;
    return RegistryStatus::kOk;
  });
}

RegistryStatus RegistryStore::setValue(RegistryHive hive, const std::string& path,
                                       const std::string& name, const RegistryValue& value) {
  return modify(file_, hive, [&](Tree& tree, Key* root) {
    Key* key = tree.find(root, path);
    if (!key) return RegistryStatus::kNotFound;
    if (auto it = findValue(*key, name); it != key->values.end()) {
      it->second = value;
    } else {
      key->values.emplace_back(name, value);
    }
    return RegistryStatus::kOk;
  });
}

}  // namespace erp
