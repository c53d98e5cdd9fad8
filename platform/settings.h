#pragma once
// Per-user settings as VB keeps them: string values under
// HKCU\Software\VB and VBA Program Settings\<app>\<section>.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"

namespace trawlex::platform {

// An absent key (or unreadable store) gives defaultValue; a key holding "" gives "".
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});

// Fails for an empty name or a name holding a backslash (it would address another key).
Status SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value);

// Every key of the section with its value, in stored order; empty when the section is
// absent or the store cannot be read. One read of the store.
std::vector<std::pair<std::string, std::string>> GetAllSettings(std::string_view app,
                                                                std::string_view section);

// Stores every key/value pair in one locked change of the store: all of them or, when a
// name is not valid or the store cannot be written, none. A key listed twice keeps its last
// value.
Status SaveSettings(std::string_view app, std::string_view section,
                    const std::vector<std::pair<std::string, std::string>>& values);

// The registry key that holds a section, with its trailing backslash:
// "HKCU\Software\VB and VBA Program Settings\<app>\<section>\".
std::string SettingsSectionKey(std::string_view app, std::string_view section);

// An empty key deletes the whole section with everything in it. Deleting a key or
// section that is not there fails, as in VB; callers that only want it gone ignore that.
Status DeleteSetting(std::string_view app, std::string_view section, std::string_view key = {});

}  // namespace trawlex::platform
