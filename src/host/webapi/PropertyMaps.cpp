#include "host/webapi/PropertyMaps.h"

#include "util/IniDocument.h"

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace host::webapi {
namespace {

bool PropertyName(const std::string& text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text.front())) != 0) return false;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
  }
  return true;
}

std::string Published(const std::string& view, const std::string& field) {
  for (const PublishedName& entry : PublishedNames()) {
    if (entry.view == view && entry.field == field) return entry.property;
  }
  return {};
}

std::string Overridden(const MapOverrides& overrides, const std::string& view,
                       const std::string& key) {
  const auto names = overrides.views.find(view);
  if (names == overrides.views.end()) return {};
  const auto name = names->second.find(key);
  return name == names->second.end() ? std::string() : name->second;
}

std::vector<std::string> PropertiesOf(const ViewLayout& layout, const MapOverrides& overrides) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (const FieldLayout& field : layout.fields) {
    std::string name = Overridden(overrides, layout.id, field.info.name);
    if (name.empty()) {
      name = Published(layout.id, field.info.name);
      if (name.empty()) name = RuleName(field.info.description);
      // Two descriptions can meet once cut; the later field gets a number, as the ERP does.
      const std::string stem = name;
      for (int n = 2; taken.contains(name); ++n) name = stem + std::to_string(n);
    }
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

std::string OrDefault(const std::string& name, const std::string& fallback) {
  return name.empty() ? fallback : name;
}

/// Checks the sections and keys of a map file against the views the program knows.
class MapFileReader {
 public:
  explicit MapFileReader(std::string path) : path_(std::move(path)) {}

  MapOverrides Read() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) throw std::invalid_argument(path_ + ": the map file cannot be read.");
    std::ostringstream content;
    content << in.rdbuf();
    std::set<std::string> sections;
    for (const auto& section : util::IniDocument::Parse(content.str()).Outline()) {
      for (int line : section.otherLines)
        Problem(line, "this line is neither [section] nor key=value.");
      if (section.line == 0) {
        Problem(section.keys.front().line, "a key before the first section.");
      } else if (!sections.insert(section.name).second) {
        Problem(section.line, "section [" + section.name + "] is given twice.");
      } else {
        ReadSection(section);
      }
    }
    if (!problems_.empty()) throw std::invalid_argument(problems_);
    return std::move(overrides_);
  }

 private:
  void Problem(int line, const std::string& text) {
    problems_ += (problems_.empty() ? "" : "\n") + path_ + ":" + std::to_string(line) + ": " + text;
  }

  void ReadSection(const util::IniDocument::SectionLines& section) {
    if (section.name == "Options") {
      for (const auto& key : section.keys) ReadOption(key);
      return;
    }
    const ViewLayout* layout = FindViewLayout(section.name);
    const bool header = EntitySetOfView(section.name) != nullptr;
    if (!layout) {
      Problem(section.line, "[" + section.name +
                                "] is no view the program reads through the Web API, nor "
                                "[Options].");
      return;
    }
    auto& names = overrides_.views[section.name];
    for (const auto& key : section.keys) {
      std::string name = key.key;
      if (name == "EntitySet" || name == "Collection") {
        if ((name == "EntitySet") != header) {
          Problem(key.line, name + " is not given for " +
                                (header ? std::string("a header view.") : "a detail view."));
          continue;
        }
      } else if (const FieldLayout* field = layout->Field(name)) {
        name = field->info.name;
      } else {
        Problem(key.line, "view " + section.name + " has no field " + key.key + ".");
        continue;
      }
      if (!PropertyName(key.value)) {
        Problem(key.line, "\"" + key.value + "\" is not a property name.");
      } else if (!names.emplace(name, key.value).second) {
        Problem(key.line, key.key + " is given twice.");
      }
    }
  }

  void ReadOption(const util::IniDocument::KeyLine& key) {
    bool* option = key.key == "Multicurrency" ? &overrides_.multicurrency
                   : key.key == "RecurringChargesByCustomer"
                       ? &overrides_.recurringChargesByCustomer
                       : nullptr;
    if (!option) {
      Problem(key.line,
              "[Options] takes Multicurrency and RecurringChargesByCustomer, not " + key.key + ".");
    } else if (key.value == "Yes" || key.value == "No") {
      *option = key.value == "Yes";
    } else {
      Problem(key.line, key.key + " is Yes or No.");
    }
  }

  std::string path_;
  MapOverrides overrides_;
  std::string problems_;
};

}  // namespace

MapOverrides ReadMapFile(const std::string& path) {
  return MapFileReader(path).Read();
}

PropertyMaps::PropertyMaps(const MapOverrides& overrides) : overrides_(overrides) {
  for (const EntitySetEntry& entry : EntitySets()) {
    EntityMap map;
    map.module = entry.module;
    map.entitySet = OrDefault(Overridden(overrides, entry.view, "EntitySet"), entry.entitySet);
    map.layout = FindViewLayout(entry.view);
    map.properties = PropertiesOf(*map.layout, overrides);
    for (const DetailSet& detail : entry.details) {
      const ViewLayout* rows = FindViewLayout(detail.view);
      map.details.push_back(
          {rows, OrDefault(Overridden(overrides, detail.view, "Collection"), detail.collection),
           PropertiesOf(*rows, overrides)});
    }
    for (const std::string& name : entry.alsoRead) {
      map.alsoRead.push_back(map.layout->Field(name)->info.index);
    }
    maps_.push_back(std::move(map));
  }
}

const EntityMap* PropertyMaps::OfView(std::string_view view) const {
  for (const EntityMap& map : maps_) {
    if (map.layout->id == view) return &map;
  }
  return nullptr;
}

const EntityMap* PropertyMaps::OfDetail(std::string_view view, size_t& rows) const {
  for (const EntityMap& map : maps_) {
    for (size_t i = 0; i < map.details.size(); ++i) {
      if (map.details[i].layout->id != view) continue;
      rows = i;
      return &map;
    }
  }
  return nullptr;
}

}  // namespace host::webapi
