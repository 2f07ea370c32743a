#include "app/WindowLayout.h"

#include <algorithm>
#include <map>

namespace app {
namespace {

constexpr std::int32_t kTabTop = 60;
constexpr std::int32_t kTabWidth = 11355;
constexpr std::int32_t kFirstFrameTop = 375;
constexpr std::int32_t kFrameLeft = 120;
constexpr std::int32_t kFrameWidth = 11115;
constexpr std::int32_t kFrameBottomMargin = 195;
constexpr std::int32_t kTabBottomMargin = 120;
constexpr std::int32_t kRowStep = 450;
constexpr std::int32_t kEditHeight = 315;
constexpr std::int32_t kCheckBoxLeft = 75;
constexpr std::int32_t kCheckBoxWidth = 3015;
constexpr std::int32_t kFromLeft = 3255;
constexpr std::int32_t kSecondRowFromLeft = 975;
// A further row's from control ends where the first row's does, so that its finder button lines
// up with theirs.
constexpr std::int32_t kSecondRowFromWidth = 6045;
constexpr std::int32_t kToLeft = 7200;
constexpr std::int32_t kFieldWidth = 3765;
constexpr std::int32_t kGridHeight = 1365;
constexpr std::int32_t kSpanningGridLeft = 75;
constexpr std::int32_t kSpanningGridWidth = 10890;
constexpr std::int32_t kColumnLabelTop = 195;
constexpr std::int32_t kColumnLabelHeight = 240;
constexpr std::int32_t kProgressHeight = 735;
constexpr std::int32_t kButtonWidth = 1335;
constexpr std::int32_t kButtonHeight = 375;
constexpr std::int32_t kGap = 60;

/// Lays out one frame's content from its first row down; returns the frame's height.
std::int32_t LayOutFrame(const SectionDef& section, WindowGeometry& window) {
  auto place = [&](const std::string& name, std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height, std::string tag = {}) {
    window.controls[name] = {left, top, width, height, std::move(tag), section.frame};
  };
  place(FromLabelOf(section.frame), kFromLeft, kColumnLabelTop, kFieldWidth, kColumnLabelHeight);
  place(ToLabelOf(section.frame), kToLeft, kColumnLabelTop, kFieldWidth, kColumnLabelHeight);
  std::int32_t row = kRowStep;
  for (const RangePairDef* pair : SectionRows(section)) {
    if (pair->firstOfBox) {
      place(pair->checkBox, kCheckBoxLeft, row, kCheckBoxWidth, kEditHeight);
      place(pair->from, kFromLeft, row, kFieldWidth, kEditHeight, pair->fromLabel);
    } else {
      place(pair->from, kSecondRowFromLeft, row, kSecondRowFromWidth, kEditHeight, pair->fromLabel);
    }
    place(pair->to, kToLeft, row, kFieldWidth, kEditHeight, pair->toLabel);
    row += kRowStep;
  }
  std::int32_t bottom = row - kRowStep + kEditHeight;
  const bool spanning = section.sharedControls.size() == 1;
  for (std::size_t i = 0; i < section.sharedControls.size(); ++i) {
    const SharedControlDef& shared = section.sharedControls[i];
    const std::int32_t left = i % 2 == 0 ? kFromLeft : kToLeft;
    if (shared.kind == SharedControlKind::TaxGroupEdit) {
      place(shared.name, left, row, kFieldWidth, kEditHeight);
      bottom = row + kEditHeight;
    } else if (spanning) {
      place(shared.name, kSpanningGridLeft, row, kSpanningGridWidth, kGridHeight);
      bottom = row + kGridHeight;
    } else {
      place(shared.name, left, row + kRowStep, kFieldWidth, kGridHeight);
      bottom = row + kRowStep + kGridHeight;
    }
  }
  return bottom + kFrameBottomMargin;
}

}  // namespace

std::vector<const RangePairDef*> SectionRows(const SectionDef& section) {
  std::vector<const RangePairDef*> rows;
  for (const std::string& box : section.checkBoxes) {
    for (const RangePairDef& pair : convert::KindOfCheckBox(box)->ranges) rows.push_back(&pair);
  }
  return rows;
}

std::string FromLabelOf(const std::string& frame) {
  return "lblFrom:" + frame;
}

std::string ToLabelOf(const std::string& frame) {
  return "lblTo:" + frame;
}

WindowGeometry LayOutWindow() {
  WindowGeometry window;
  std::map<std::string, std::int32_t> tabBottom;
  for (const SectionDef& section : Sections()) {
    std::int32_t& top = tabBottom.try_emplace(section.tab, kFirstFrameTop).first->second;
    const std::int32_t height = LayOutFrame(section, window);
    window.controls[section.frame] = {kFrameLeft, top, kFrameWidth, height, section.tag};
    top += height;
  }
  std::int32_t tabHeight = 0;
  for (const auto& [tab, bottom] : tabBottom) tabHeight = std::max(tabHeight, bottom);
  tabHeight += kTabBottomMargin;

  const std::int32_t progressTop = kTabTop + tabHeight + kGap;
  const std::int32_t buttonTop = progressTop + kProgressHeight + 2 * kGap;
  const std::int32_t closeLeft = kGap + kTabWidth - kButtonWidth;
  window.controls["SSTab1"] = {kGap, kTabTop, kTabWidth, tabHeight};
  window.controls["frmProgress"] = {kGap, progressTop, kTabWidth, kProgressHeight};
  // The bar above the processing text; both follow the frame's width.
  window.controls["ProgressBar"] = {120, 90, kTabWidth - 240, 270, {}, "frmProgress"};
  window.controls["txtProcessing"] = {120, 405, kTabWidth - 240, 270, {}, "frmProgress"};
  window.controls["cmdConvert"] = {kGap, buttonTop, kButtonWidth, kButtonHeight};
  window.controls["cmdCancel"] = {kGap, buttonTop, kButtonWidth, kButtonHeight};
  window.controls["cmdClose"] = {closeLeft, buttonTop, kButtonWidth, kButtonHeight};
  for (const ResizeTagDef& def : ResizeTags()) window.controls[def.control].tag = def.tag;
  window.width = kGap + kTabWidth + kGap;
  window.height = buttonTop + kButtonHeight + 2 * kGap;
  return window;
}

}  // namespace app
