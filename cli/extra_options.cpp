#include "cli/extra_options.h"

namespace trawlex::cli {
namespace {

std::optional<CodeRegion> RegionFromName(std::string_view name) {
    if (name == "code") return CodeRegion::Code;
    if (name == "comment") return CodeRegion::Comment;
    if (name == "string") return CodeRegion::String;
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

}  // namespace

bool IsDisplayValueOption(std::string_view name) {
    return name == "--color" || name == "--in";
}

std::optional<std::string> ApplyDisplayValueOption(GrepOptions& options, std::string_view name,
                                                   std::string_view value) {
    if (name == "--in") {
        const auto region = RegionFromName(value);
        if (!region) return "unknown region " + Quoted(value) + " (code, comment or string)";
        options.inRegions |= static_cast<RegionSet>(*region);
        return std::nullopt;
    }
    const auto choice = ColorChoiceFromName(value);
    if (!choice) return "unknown colour choice " + Quoted(value) + " (auto, always or never)";
    options.color = *choice;
    return std::nullopt;
}

bool ApplyDisplayFlag(GrepOptions& options, std::string_view arg) {
    if (arg != "--count") return false;
    options.count = true;
    return true;
}

}  // namespace trawlex::cli
