#pragma once
// Names and addresses of the main add-in that several places show or record.

#include <string>

#include "host/self_registration.h"

namespace trawlex::addin {

inline constexpr const char* kProgId = "Trawlex.Connect";
inline constexpr const char* kTitle = host::kProductName;
inline constexpr const char* kSupportPageUrl = host::kSupportPageUrl;

// "major.minor.build" in plain decimal, as the version dialog shows it (3.0.0.34 → "3.0.34").
std::string DisplayVersion();

}  // namespace trawlex::addin
