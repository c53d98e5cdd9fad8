#include "platform/registry_path.h"

#include <vector>

#include "platform/reg_hive.h"

namespace trawlex::platform {

namespace {

struct RootAlias {
    std::string_view name;
    HiveId hive;
    std::string_view keyPrefix;
};

constexpr RootAlias kRoots[] = {
    {"hkey_current_user", HiveId::CurrentUser, ""},
    {"hkcu", HiveId::CurrentUser, ""},
    {"hkey_local_machine", HiveId::LocalMachine, ""},
    {"hklm", HiveId::LocalMachine, ""},
    {"hkey_classes_root", HiveId::CurrentUser, "Software\\Classes"},
    {"hkcr", HiveId::CurrentUser, "Software\\Classes"},
};

bool IsValidName(std::string_view name) {
    for (char c : name) {
        // A line break would end the name in the hive file.
        if (c == '\r' || c == '\n' || c == '\0') return false;
    }
    return true;
}

}  // namespace

Result<RegistryPath> ParseRegistryPath(std::string_view path) {
    auto invalid = [&](const std::string& why) {
        return Failure{"invalid registry path \"" + std::string(path) + "\": " + why};
    };
    std::vector<std::string_view> parts;
    for (size_t pos = 0;;) {
        size_t slash = path.find('\\', pos);
        parts.push_back(path.substr(pos, slash == std::string_view::npos ? slash : slash - pos));
        if (slash == std::string_view::npos) break;
        pos = slash + 1;
    }
    if (parts.size() < 2) return invalid("it names no key below the root");
    const std::string root = FoldCase(parts.front());
    const RootAlias* alias = nullptr;
    for (const RootAlias& candidate : kRoots) {
        if (candidate.name == root) alias = &candidate;
    }
    if (!alias) return invalid("unknown root \"" + std::string(parts.front()) + "\"");

    RegistryPath parsed;
    parsed.hive = alias->hive;
    parsed.namesKey = parts.back().empty();
    parsed.valueName = parsed.namesKey ? std::string() : std::string(parts.back());
    if (!IsValidName(parsed.valueName)) return invalid("the value name holds a line break");
    parsed.key = std::string(alias->keyPrefix);
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        if (parts[i].empty()) return invalid("empty key name");
        if (!IsValidName(parts[i])) return invalid("a key name holds a line break");
        if (!parsed.key.empty()) parsed.key += '\\';
        parsed.key += parts[i];
    }
    return parsed;
}

Result<RegistryPath> ParseRegistryKeyPath(std::string_view keyPath) {
    if (keyPath.ends_with('\\')) return ParseRegistryPath(keyPath);
    return ParseRegistryPath(std::string(keyPath) + "\\");
}

}  // namespace trawlex::platform
