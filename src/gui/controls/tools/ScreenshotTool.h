#pragma once

#include <filesystem>
#include <functional>

namespace gui::controls::tools {

/// Runs a screenshot tool: the offscreen platform unless another is chosen, the program's look,
/// and `draw` given the folder for the pictures (argv[1], else build/screenshots), absolute and
/// made when missing. Returns the process's exit status; an error is printed after `name`.
int RunScreenshotTool(int argc, char** argv, const char* name,
                      const std::function<void(const std::filesystem::path& folder)>& draw);

}  // namespace gui::controls::tools
