#pragma once
// Names and addresses of the main add-in that several places show or record.

#include <string>

namespace trawlex::addin {

inline constexpr const char* kProgId = "Trawlex.Connect";
inline constexpr const char* kTitle = "Trawlex Plus";
// The product's support page on the maker's web server.
inline constexpr const char* kSupportPageUrl = "https://www.quillfen.jp/tools/trawlex6/?version";

// "major.minor.build" in plain decimal, as the version dialog shows it (3.0.0.34 → "3.0.34").
std::string DisplayVersion();

}  // namespace trawlex::addin
