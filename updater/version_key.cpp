#include "updater/version_key.h"

#include <charconv>
#include <cstdio>

#include "updater/updater_version.h"

namespace trawlex::updater {

namespace {

constexpr std::string_view kRowPrefix = "Version ";

std::optional<int> ParseNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string VersionKey(Version version) {
    char minor[16];
    std::snprintf(minor, sizeof minor, "%02d", version.minor);
    return std::to_string(version.major) + "." + minor;
}

std::string VersionRow(Version version) {
    return std::string(kRowPrefix) + VersionKey(version);
}

std::string KeyOfRow(std::string_view row) {
    return row.size() > kRowPrefix.size() ? std::string(row.substr(kRowPrefix.size())) : "";
}

std::optional<Version> ParseVersionKey(std::string_view key) {
    const size_t dot = key.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    std::optional<int> major = ParseNumber(key.substr(0, dot));
    std::string_view minorText = key.substr(dot + 1);
    std::optional<int> minor = ParseNumber(minorText);
    if (!major || !minor || minorText.size() < 2) return std::nullopt;
    Version version{*major, *minor};
    // Exactly the server's spelling: "3.1" or "03.01" name no version.
    if (VersionKey(version) != key) return std::nullopt;
    return version;
}

Version UpdaterVersion() {
    return {kUpdaterMajor, kUpdaterMinor};
}

}  // namespace trawlex::updater
