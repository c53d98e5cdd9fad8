#pragma once
// "NewTabScope": the search area an empty result tab takes when it is chosen. Its values
// are the item indexes of the options dialog's scope list.

#include <QString>
#include <optional>

#include "host/module_search.h"

namespace trawlex::window {

enum class NewTabScope : int {
    AlwaysProcedure = 0,        // "常にLocal"
    AlwaysModule = 1,           // "常にPrivate"
    AlwaysProject = 2,          // "常にPublic"
    ProcedureOrModule = 3,      // "LocalかPrivate": wider areas narrow to the module
    ModuleUnlessProcedure = 4,  // "ファイル→Public": open modules and files become the module
    KeepArea = 5,               // "前回検索を継承"
};

inline constexpr NewTabScope kDefaultNewTabScope = NewTabScope::AlwaysProcedure;

// The scope a stored text names; any other text keeps the area.
std::optional<NewTabScope> ParseNewTabScope(const QString& text);

// The area an empty tab gets under `scope` while `current` is chosen.
SearchArea AreaForNewTab(std::optional<NewTabScope> scope, SearchArea current);

}  // namespace trawlex::window
