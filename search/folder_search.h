#pragma once
// SearchFolder: walks a folder on disk and scans every file that passes the extension filter.

#include <string>
#include <string_view>
#include <vector>

#include "search/text_scan.h"

namespace trawlex {

class FolderSearchHost : public ScanHost {
  public:
    // "*" for all files, else "*.ext" items joined by ";".
    virtual std::string ExtList() const = 0;
    // Read once per folder: whether subfolders are walked.
    virtual bool SearchSubfolders() const = 0;
    // Receives "エラーが発生しました:" + description when a folder or file fails.
    virtual void SetStatus(std::string text) = 0;
};

// Whether a file name passes the filter: its extension equals one of the listed ones
// (case-insensitive); "*" passes everything; a name without an extension passes only "*".
bool PassesExtFilter(std::string_view fileName, std::string_view extList);

// Where one file of a folder walk stands in the walk, and where the walk goes on when the
// file cannot be read: after the rest of its folder and that folder's subfolders.
struct FolderWalkStep {
    std::string path;     // a file that passes the filter
    std::string failure;  // instead of a file: "エラーが発生しました:" + why a folder failed
    std::size_t folder_end = 0;  // index of the first step past the file's folder
};

// The steps of SearchFolder's walk, files and failing folders in walk order, for a host that
// keeps its filter and subfolder choice for the whole walk and is not stopped; a file that
// cannot be read is left to whoever reads it (it ends its folder's walk there).
std::vector<FolderWalkStep> PlanFolderWalk(const std::string& folder, const FolderSearchHost& host);

// Files first, then subfolders, each in byte order of the name; symbolic links to folders
// are not followed, links to files are read like files; pipes, devices and dangling links
// are left out. A failing folder or file ends that folder's walk, the caller goes on.
// Once the host reports a stop, no further file is read.
void SearchFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                  MatchEngine& engine);

}  // namespace trawlex
