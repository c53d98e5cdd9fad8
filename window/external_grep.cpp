#include "window/external_grep.h"

#include "platform/shell.h"
#include "window/text_edit.h"

namespace trawlex::window {

std::string HidemaruGrepOptions(bool binary, bool subFolders) {
    std::string letters = binary ? "c" : "C";
    letters += "wr";
    letters += subFolders ? "u" : "U";
    letters += "O";
    return letters;
}

std::string BuildHidemaruCommandLine(const std::string& editorTemplate, const std::string& folder,
                                     const std::string& search, bool binary, bool subFolders) {
    std::string command = editorTemplate;
    ReplaceAll(command, "/j%l", "");
    ReplaceAll(command, "%p", "");
    command += "/g" + HidemaruGrepOptions(binary, subFolders) + ",\"" + folder + "*\"," + search;
    return command;
}

QString HidemaruGrep(const std::string& editorTemplate, const std::string& folder,
                     const std::string& search, bool binary, bool subFolders) {
    const std::string command =
        BuildHidemaruCommandLine(editorTemplate, folder, search, binary, subFolders);
    const std::vector<std::string> argv = platform::SplitCommandLine(command);
    const bool started = !argv.empty() && platform::StartProcess(argv);
    return QString::fromUtf8(started ? "成功" : "失敗") + QStringLiteral(" - 秀丸起動");
}

}  // namespace trawlex::window
