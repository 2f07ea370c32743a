#pragma once

#include "convert/KindTable.h"
#include "convert/Startup.h"

#include <string>
#include <vector>

namespace app {

using convert::FinderKind;
using convert::FinderSetup;
using convert::FinderSetupOf;
using convert::RangePairDef;
using convert::Visibility;

/// What a section's shared control is.
enum class SharedControlKind { TaxGroupEdit, MappingGrid };

/// A control of a section that its check boxes enable together.
struct SharedControlDef {
  std::string name;
  SharedControlKind kind;
};

/// A section frame: the boxes that enable its shared controls.
struct SectionDef {
  std::string tab;
  std::string frame;
  std::string caption;
  std::string tag;
  std::vector<std::string> checkBoxes;
  std::vector<SharedControlDef> sharedControls;
};

/// A control that DoResize may move, with its resize Tag.
struct ResizeTagDef {
  std::string control;
  std::string tag;
};

using convert::kProgramTitle;
/// The user guide below the program's folder.
inline constexpr const char* kUserGuide = "Documentation/Ordavel User Guide.pdf";

/// The sections of all tabs, top to bottom per tab, from the kinds' mappings.
const std::vector<SectionDef>& Sections();
/// The resize Tags of the grids, frames and window-level controls.
const std::vector<ResizeTagDef>& ResizeTags();

}  // namespace app
