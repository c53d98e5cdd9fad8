#pragma once
// A .vbp or .vbg named on the command line: its modules searched the way the host's
// project area searches them.

#include <functional>
#include <string>
#include <string_view>

#include "base/text_decode.h"
#include "search/match_engine.h"
#include "search/text_scan.h"

namespace trawlex::cli {

// True for a path ending in ".vbp" or ".vbg", whatever the case.
bool IsProjectPath(std::string_view path);

// Loads the project or group at `path` and searches each module of each project in project
// order: the module's visible code (IDE line numbers) under the module's name. A module or
// project that cannot be read goes to `error` ("エラーが発生しました:…") and the rest are
// still searched. `encoding` tells how the project files and modules without a BOM are read.
void SearchProjectPath(const std::string& path, std::string_view search, const ScanRoles& roles,
                       MatchEngine& engine, EncodingChoice encoding,
                       const std::function<void(const std::string&)>& error);

}  // namespace trawlex::cli
