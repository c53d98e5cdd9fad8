#include "cli/project_search.h"

#include "base/ascii_case.h"
#include "cli/grep_run.h"
#include "vbfiles/vb_project.h"

namespace trawlex::cli {

bool IsProjectPath(std::string_view path) {
    return EndsWithIgnoringCase(path, ".vbp") || EndsWithIgnoringCase(path, ".vbg");
}

void SearchProjectPath(const std::string& path, std::string_view search, const ScanRoles& roles,
                       MatchEngine& engine, EncodingChoice encoding,
                       const std::function<void(const std::string&)>& error) {
    Result<VbProjectGroup> group = LoadVbAny(path, encoding);
    if (!group) {
        error(std::string(kStatusErrorPrefix) + group.error());
        return;
    }
    for (const VbProject& project : group->projects) {
        // The reader has already tried every module; its failures come before the rows.
        for (const std::string& problem : project.problems)
            error(std::string(kStatusErrorPrefix) + problem);
        for (const VbModule& module : project.modules) {
            SearchText(module.Text(), module.name, search, roles, engine);
        }
    }
}

}  // namespace trawlex::cli
