#pragma once

namespace about {

/// The product name of the program's version information.
inline constexpr const char* kProductName = "Ordavel";
/// The company name of the program's version information.
inline constexpr const char* kCompanyName = "Quenlix";
/// The legal notice of the program's version information.
inline constexpr const char* kLegalCopyright = "Copyright (c) 2026 Quenlix. All rights reserved.";

}  // namespace about
