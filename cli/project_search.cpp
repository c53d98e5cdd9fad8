#include "cli/project_search.h"

#include <algorithm>
#include <cctype>

#include "cli/grep_run.h"
#include "search/vb_project.h"

namespace trawlex::cli {

bool IsProjectPath(std::string_view path) {
    if (path.size() < 4) return false;
    std::string ext(path.substr(path.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".vbp" || ext == ".vbg";
}

void SearchProjectPath(const std::string& path, std::string_view search, ScanHost& host,
                       MatchEngine& engine, const std::function<void(const std::string&)>& error) {
    Result<VbProjectGroup> group = LoadVbAny(path);
    if (!group) {
        error(std::string(kStatusErrorPrefix) + group.error());
        return;
    }
    for (const VbProject& project : group->projects) {
        // The reader has already tried every module; its failures come before the rows.
        for (const std::string& problem : project.problems)
            error(std::string(kStatusErrorPrefix) + problem);
        for (const VbModule& module : project.modules) {
            SearchText(module.Text(), module.name, search, host, engine);
        }
    }
}

}  // namespace trawlex::cli
