#pragma once
// JumpToResult: opens the selected hit of a result list, in the host's code pane for a
// module hit, or in the external editor named by the "BootEditor" template for a file hit.

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace trawlex::host {
class HostApp;
}

namespace trawlex::window {

class ResultList;

inline constexpr const char* kDefaultEditorTemplate = "notepad \"%p\"";

// A list whose first header contains "ﾓｼﾞｭｰﾙ" holds module hits; any other, file hits.
bool IsModuleList(const QString& firstHeader);

// The editor's argv: the template is split into program and arguments first, then "%l"
// (the trimmed line text) and then "%p" (the path) are replaced inside each argument, so
// whatever the path holds it stays within its argument.
std::vector<std::string> BuildEditorArgv(const std::string& editorTemplate,
                                         const std::string& lineText, const std::string& path);

// Selects line `line` (1-based) of component `moduleName` of the active project, whole,
// in ANSI byte columns, and focuses its pane. False when anything is missing.
bool JumpToModuleLine(trawlex::host::HostApp& host, const std::string& moduleName, long line);

// Starts the editor on a file hit and returns at once, the event loop running on while the
// editor is open; `onEnded` runs once the editor has ended, unless `context` is gone by
// then. Reads "BootEditor" into `editorTemplate` first. "notepad" with no such program
// opens the file with the desktop's default application. False when nothing could be
// started.
bool JumpToFileLine(std::string& editorTemplate, const std::string& path,
                    const std::string& lineText, QObject* context = nullptr,
                    std::function<void()> onEnded = {});

// The whole operation on the selected row of `list`; `window` is raised when the editor of
// a file jump has ended.
void JumpToResult(const ResultList& list, trawlex::host::HostApp* host, std::string& editorTemplate,
                  QWidget* window);

}  // namespace trawlex::window
