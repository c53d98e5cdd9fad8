#pragma once
// Versions of the main library as the update server names them. The key of (3, 1) is "3.01":
// the major number in decimal, ".", the minor number with at least two digits.

#include <optional>
#include <string>
#include <string_view>

namespace trawlex::updater {

struct Version {
    int major = 0;
    int minor = 0;
    bool operator==(const Version&) const = default;
};

std::string VersionKey(Version version);
// "Version " + key: a row of the version list, and CurrentVersion.
std::string VersionRow(Version version);
// The key of a row: its text from the 9th character on.
std::string KeyOfRow(std::string_view row);
// "3.01" → (3, 1); nothing for any other text (a key must be safe to put in a URL path).
std::optional<Version> ParseVersionKey(std::string_view key);

// This updater's own version, the one the version list selects.
Version UpdaterVersion();

}  // namespace trawlex::updater
