#pragma once
// HidemaruGrep: hands a folder search to the external editor's own grep.

#include <QString>
#include <string>

namespace trawlex::window {

// Option letters: "c"/"C" for the binary flag, "wr", "u"/"U" for subfolders, "O".
std::string HidemaruGrepOptions(bool binary, bool subFolders);

// The command line: the template without "/j%l" and "%p", then "/g" + options + ","
// + '"' + folder + '*"' + "," + the search string unquoted.
std::string BuildHidemaruCommandLine(const std::string& editorTemplate, const std::string& folder,
                                     const std::string& search, bool binary, bool subFolders);

// Builds the command line, splits it into argv and starts it without a shell. Returns
// the status text: "成功 - 秀丸起動" or "失敗 - 秀丸起動".
QString HidemaruGrep(const std::string& editorTemplate, const std::string& folder,
                     const std::string& search, bool binary, bool subFolders);

}  // namespace trawlex::window
