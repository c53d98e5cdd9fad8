#pragma once
// The search areas over the host editor's code: the procedure at the caret, the active
// module, every module of the active project, and the module of every open code pane.

#include <string_view>

#include "base/result.h"
#include "search/match_engine.h"
#include "search/text_scan.h"

namespace trawlex::host {
class HostApp;
}

namespace trawlex::window {

// Index of the item in the area box.
enum class SearchArea : int {
    None = -1,
    Procedure = 0,
    Module = 1,
    Project = 2,
    OpenModules = 3,
    FilesChosen = 4,
    FilesAll = 5,
};

// How a module search ended when it did not fail.
enum class ModuleSearchEnd {
    Searched,    // the run goes on to its summary
    NoCodePane,  // Procedure or Module without an active code pane: nothing searched
    Stopped,     // Project or OpenModules stopped after a module
};

// Scans the area's module texts with SearchText, naming each row by the module's name.
// Procedure and Module fail with the host's description when a host call fails; Project and
// OpenModules skip a failing module silently and look at the stop flag after every module.
Result<ModuleSearchEnd> SearchModules(host::HostApp& host, SearchArea area, std::string_view search,
                                      const ScanRoles& scan, MatchEngine& engine);

}  // namespace trawlex::window
