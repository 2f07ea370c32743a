#pragma once

namespace util {

/// The program's maker, Quenlix: its home page.
inline constexpr const char* kMakerHomePage = "https://www.quenlix.com/";
/// The page about Ordavel and its latest version.
inline constexpr const char* kProductPage = "https://www.quenlix.com/ordavel/";
/// Where the PDF reader that shows the user guide can be downloaded.
inline constexpr const char* kPdfReaderDownload = "https://get.adobe.com/reader/";

}  // namespace util
