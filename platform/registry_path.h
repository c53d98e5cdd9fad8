#pragma once
// Parses the registry paths WScript.Shell takes: "<root>\<key>\...\<value>" or, ending in
// a backslash, a key (meaning its default value).

#include <string>
#include <string_view>

#include "platform/hive_file.h"
#include "base/result.h"

namespace trawlex::platform {

struct RegistryPath {
    HiveId hive = HiveId::CurrentUser;
    std::string key;        // below the hive root, '\'-joined; "" is the root
    std::string valueName;  // "" is the default value
    bool namesKey = false;  // the path ended in a backslash
};

Result<RegistryPath> ParseRegistryPath(std::string_view path);

// For helpers that take a key with or without the trailing backslash.
Result<RegistryPath> ParseRegistryKeyPath(std::string_view keyPath);

}  // namespace trawlex::platform
