#include "window/jump_to_result.h"

#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <charconv>
#include <optional>

#include "base/ascii_case.h"
#include "host/host_app.h"
#include "platform/ansi_columns.h"
#include "platform/shell.h"
#include "window/control_settings.h"
#include "window/document_module_file.h"
#include "window/result_list.h"
#include "window/text_edit.h"

namespace trawlex::window {

namespace {

bool IsPlainTextEditor(const std::string& program) {
    return EqualsIgnoringCase(program, "notepad") || EqualsIgnoringCase(program, "notepad.exe");
}

}  // namespace

bool IsModuleList(const QString& firstHeader) {
    return firstHeader.contains(QStringLiteral("ﾓｼﾞｭｰﾙ"), Qt::CaseInsensitive);
}

std::vector<std::string> BuildEditorArgv(const std::string& editorTemplate,
                                         const std::string& lineText, const std::string& path) {
    std::vector<std::string> argv = platform::SplitCommandLine(editorTemplate);
    const std::string line = TrimSpaces(lineText);
    for (std::string& arg : argv) {
        ReplaceAll(arg, "%l", line);
        ReplaceAll(arg, "%p", path);
    }
    return argv;
}

bool JumpToModuleLine(host::HostApp& host, const std::string& moduleName, long line) {
    auto project = host.ActiveVBProject();
    if (!project || !*project) return false;
    auto components = (*project)->VBComponents();
    if (!components || !*components) return false;
    auto count = (*components)->Count();
    if (!count) return false;
    for (int i = 1; i <= *count; ++i) {
        auto component = (*components)->Item(i);
        if (!component || !*component) return false;
        auto name = (*component)->Name();
        if (!name) return false;
        if (*name != moduleName) continue;

        auto pane = (*component)->CodePane();
        if (!pane || !*pane || !(*pane)->Show()) return false;
        auto module = (*component)->CodeModule();
        if (!module || !*module || line < 1) return false;
        auto text = (*module)->Lines(static_cast<int>(line), 1);
        if (!text) return false;
        const int lineNo = static_cast<int>(line);
        const int end = platform::AnsiLength(*text) + 1;
        if (!(*pane)->SetSelection({lineNo, 1, lineNo, end})) return false;
        auto window = (*pane)->Window();
        if (!window || !*window) return false;
        return (*window)->SetFocus().ok();
    }
    return false;
}

bool JumpToFileLine(std::string& editorTemplate, const std::string& path,
                    const std::string& lineText, QObject* context, std::function<void()> onEnded) {
    editorTemplate =
        ReadSetting(QStringLiteral("BootEditor"), kDefaultEditorTemplate).toStdString();
    const std::vector<std::string> argv = BuildEditorArgv(editorTemplate, lineText, path);
    if (argv.empty()) return false;
    if (IsPlainTextEditor(argv[0]) && !platform::FindProgram(argv[0])) {
        // The opener hands the file over and ends by itself.
        const bool opened = platform::ShellExecuteOpen(path).ok();
        if (opened && onEnded) onEnded();
        return opened;
    }
    const std::optional<std::string> program = platform::FindProgram(argv[0]);
    if (!program) return false;
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) arguments << QString::fromStdString(argv[i]);
    // Without a parent: the editor stays open when the search window goes.
    auto* process = new QProcess;
    process->setProgram(QString::fromStdString(*program));
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    if (context && onEnded) {
        QObject::connect(process, &QProcess::finished, context, [onEnded] { onEnded(); });
    }
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

void JumpToResult(const ResultList& list, host::HostApp* host, std::string& editorTemplate,
                  QWidget* window) {
    const int row = list.SelectedRow();
    if (row < 0) return;
    const ResultRow& hit = list.Row(row);
    if (IsModuleList(list.FirstHeader())) {
        if (host) JumpToModuleLine(*host, hit.name, static_cast<long>(hit.line));
        return;
    }
    std::string path = hit.name;
    if (!hit.module.empty()) {
        Result<std::string> extracted = ExtractModuleToTempFile(DocumentPathOf(hit), hit.module);
        if (!extracted) return;
        path = std::move(*extracted);
    }
    JumpToFileLine(editorTemplate, path, std::to_string(hit.line), window, [window] {
        window->raise();
        window->activateWindow();
    });
}

}  // namespace trawlex::window
