#include "app/Layout.h"

namespace app {
namespace {

SectionDef SectionOf(const convert::MappingDef& mapping) {
  SectionDef section{mapping.tab, mapping.frame, mapping.caption, mapping.tag, {}, {}};
  for (const convert::KindDef& kind : convert::Kinds()) {
    if (kind.mapping == mapping.frame) section.checkBoxes.push_back(kind.checkBox);
  }
  for (const std::string& name : mapping.SharedControls()) {
    const bool edit = name == mapping.from.taxGroupControl || name == mapping.to.taxGroupControl;
    section.sharedControls.push_back(
        {name, edit ? SharedControlKind::TaxGroupEdit : SharedControlKind::MappingGrid});
  }
  return section;
}

}  // namespace

const std::vector<SectionDef>& Sections() {
  static const std::vector<SectionDef> sections = [] {
    std::vector<SectionDef> result;
    for (const convert::MappingDef& mapping : convert::Mappings()) {
      result.push_back(SectionOf(mapping));
    }
    return result;
  }();
  return sections;
}

const std::vector<ResizeTagDef>& ResizeTags() {
  static const std::vector<ResizeTagDef> tags = [] {
    std::vector<ResizeTagDef> result{
        {"SSTab1", "TTTT"},        {"frmProgress", "TFTT"}, {"ProgressBar", "TFTF"},
        {"txtProcessing", "TFTF"}, {"cmdConvert", "FFFT"},  {"cmdCancel", "FFFT"},
        {"cmdClose", "FFTT"},
    };
    for (const convert::MappingDef& mapping : convert::Mappings()) {
      for (const std::string& name : mapping.SharedControls()) {
        if (name != mapping.from.taxGroupControl && name != mapping.to.taxGroupControl) {
          result.push_back({name, mapping.gridTag});
        }
      }
    }
    return result;
  }();
  return tags;
}

}  // namespace app
