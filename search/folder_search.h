#pragma once
// SearchFolder: walks a folder on disk and scans every file that passes the extension filter.

#include <string>
#include <string_view>
#include <vector>

#include "search/file_reader.h"
#include "search/folder_walker.h"
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
    // Searches a file the host reads its own way (an Office document through its modules)
    // and returns true; false leaves the file to the text scan.
    virtual bool SearchOwnWay(const std::string& /*path*/, std::string_view /*bytes*/,
                              std::string_view /*search*/, MatchEngine& /*engine*/) {
        return false;
    }
    // Called after SetStatus for every folder or file the walk had to leave out (all
    // failures but a starting folder that does not exist).
    virtual void EntrySkipped() {}
};

// Whether a file name passes the filter: its extension equals one of the listed ones
// (case-insensitive); "*" passes everything; a name without an extension passes only "*".
bool PassesExtFilter(std::string_view fileName, std::string_view extList);

// The steps of SearchFolder's walk, files and failing folders in walk order, for a host that
// keeps its filter and subfolder choice for the whole walk and is not stopped; a file that
// cannot be read is reported by whoever reads it, in its place.
std::vector<FolderWalkStep> PlanFolderWalk(const std::string& folder, const FolderSearchHost& host);

// A folder that is not there is a wrong path, not an entry left out: its message, or empty.
std::string MissingFolder(const std::string& folder);

// Searches the file of one step of a walk (read into `buffer`), or reports its failure.
// A file that cannot be read is reported and left out.
void SearchWalkStep(const FolderWalkStep& step, std::string_view search, FolderSearchHost& host,
                    MatchEngine& engine, FileBuffer& buffer);

// FolderWalker's walk from `folder`, each step searched in turn. Files first, then subfolders, each
// in byte order of the name; symbolic links to folders are not followed, links to files are read
// like files; pipes, devices and dangling links are left out. A folder or file that cannot be read
// is reported and left out; the walk goes on with the next entry. Once the host reports a stop, no
// further file is read.
void SearchFolder(const std::string& folder, std::string_view search, FolderSearchHost& host,
                  MatchEngine& engine);

}  // namespace trawlex
