#include "window/new_tab_scope.h"

namespace trawlex::window {

std::optional<NewTabScope> ParseNewTabScope(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    // Only the digits themselves, as stored; " 1" or "+1" name no scope.
    if (!ok || text != QString::number(value)) return std::nullopt;
    if (value < static_cast<int>(NewTabScope::AlwaysProcedure) ||
        value > static_cast<int>(NewTabScope::KeepArea)) {
        return std::nullopt;
    }
    return static_cast<NewTabScope>(value);
}

SearchArea AreaForNewTab(std::optional<NewTabScope> scope, SearchArea current) {
    if (!scope) return current;
    switch (*scope) {
        case NewTabScope::AlwaysProcedure:
            return SearchArea::Procedure;
        case NewTabScope::AlwaysModule:
            return SearchArea::Module;
        case NewTabScope::AlwaysProject:
            return SearchArea::Project;
        case NewTabScope::ProcedureOrModule:
            return current >= SearchArea::Project ? SearchArea::Module : current;
        case NewTabScope::ModuleUnlessProcedure:
            return current >= SearchArea::OpenModules ? SearchArea::Module : current;
        case NewTabScope::KeepArea:
            return current;
    }
    return current;
}

}  // namespace trawlex::window
