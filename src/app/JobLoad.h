#pragma once

#include "app/Form1.h"
#include "convert/ConversionRequest.h"

#include <string>
#include <vector>

namespace app {

/// Puts a request read from a job file into the window: its tab, each kind's check box, and
/// every range, criteria, mapping and operations row as the batch's own controls end up with
/// them, so that Convert runs exactly what `ordavel-batch` would run. The request is first
/// entered into controls of its own; when they refuse anything, every problem is returned and
/// the window is left as it was. What the window's own controls then refuse (which their equal
/// twins took) is returned too, with the window holding what it took.
std::vector<std::string> LoadJob(Form1& form, const convert::ConversionRequest& job);

/// The window's current tab as a job: the signed-on company and user, the tab, and every
/// choice of its kinds, mappings and operations grids.
convert::ConversionRequest WindowJob(Form1& form);

}  // namespace app
