#pragma once
// The hive files under the machine root and their safe update. A change takes an
// exclusive flock on "<hive>.reg.lock", reads and parses the hive, applies the edit,
// writes "<hive>.reg.tmp", fsyncs it, renames it over the hive and fsyncs the folder.
// Readers need no lock: the rename shows them the old or the new file, never a mix.
// A hive that does not parse is left untouched and the change fails.

#include <functional>
#include <string>
#include <string_view>

#include "platform/reg_hive.h"
#include "base/result.h"

namespace trawlex::platform {

enum class HiveId { CurrentUser, LocalMachine };

std::string_view HiveRootName(HiveId hive);  // "HKEY_CURRENT_USER", ...
std::string HiveFilePath(HiveId hive);       // <root>/HKEY_CURRENT_USER.reg

// The hive as stored; a missing file is an empty hive.
Result<RegHive> LoadHive(HiveId hive);

// Runs edit on the current hive under the lock and stores the result when edit succeeds.
Status ModifyHive(HiveId hive, const std::function<Status(RegHive&)>& edit);

}  // namespace trawlex::platform
