#include "host/space_cleanup.h"

#include <memory>

#include "host/host_app.h"

namespace trawlex::host {

namespace {

constexpr const char* kNoProject = "アクティブなプロジェクトがありません";
constexpr const char* kCrLf = "\r\n";

// The active project's components, or why they cannot be had.
Result<std::shared_ptr<VBComponents>> ActiveComponents(HostApp& host) {
    auto project = host.ActiveVBProject();
    if (!project) return Failure{project.error()};
    if (!*project) return Failure{kNoProject};
    auto components = (*project)->VBComponents();
    if (!components) return Failure{components.error()};
    if (!*components) return Failure{kNoProject};
    return *components;
}

Result<std::shared_ptr<CodeModule>> ComponentModule(VBComponents& components, int index) {
    auto component = components.Item(index);
    if (!component) return Failure{component.error()};
    auto module = (*component)->CodeModule();
    if (!module) return Failure{module.error()};
    if (!*module) return Failure{"The component has no code module"};
    return *module;
}

CleanupOutcome Stopped(CleanupCounts counts, std::string reason) {
    return CleanupOutcome{counts, true, std::move(reason)};
}

// Runs `visit` on each component's module of the active project, in host order, until
// a visit fails.
template <typename Visit>
CleanupOutcome EachComponentModule(HostApp& host, Visit visit) {
    CleanupCounts counts;
    auto components = ActiveComponents(host);
    if (!components) return Stopped(counts, components.error());
    auto count = (*components)->Count();
    if (!count) return Stopped(counts, count.error());
    for (int i = 1; i <= *count; ++i) {
        auto module = ComponentModule(**components, i);
        if (!module) return Stopped(counts, module.error());
        if (Status status = visit(**module, counts); !status) {
            return Stopped(counts, status.error());
        }
    }
    return CleanupOutcome{counts, false, {}};
}

}  // namespace

bool IsSpaceOnlyLine(std::string_view line) {
    return !line.empty() && line.find_first_not_of(' ') == std::string_view::npos;
}

Status ClearSpaceOnlyLines(CodeModule& module, CleanupCounts& counts) {
    auto name = module.Name();
    if (!name) return Failure{name.error()};
    if (name->empty()) return {};
    auto lineCount = module.CountOfLines();
    if (!lineCount) return Failure{lineCount.error()};
    for (int line = 1; line <= *lineCount; ++line) {
        auto text = module.Lines(line, 1);
        if (!text) return Failure{text.error()};
        if (!IsSpaceOnlyLine(*text)) continue;
        if (module.ReplaceLine(line, "")) {
            ++counts.emptied;
        } else {
            ++counts.refused;
        }
    }
    return {};
}

CleanupOutcome ClearSpaceInProject(HostApp& host) {
    return EachComponentModule(host, [](CodeModule& module, CleanupCounts& counts) {
        return ClearSpaceOnlyLines(module, counts);
    });
}

CleanupOutcome ClearSpaceInOpenPanes(HostApp& host) {
    return EachComponentModule(host, [&host](CodeModule& module, CleanupCounts& counts) -> Status {
        auto panes = host.CodePanes();
        if (!panes) return Failure{panes.error()};
        if (!*panes) return {};
        auto paneCount = (*panes)->Count();
        if (!paneCount) return Failure{paneCount.error()};
        for (int k = 1; k <= *paneCount; ++k) {
            auto pane = (*panes)->Item(k);
            if (!pane) return Failure{pane.error()};
            auto paneModule = (*pane)->CodeModule();
            if (!paneModule) return Failure{paneModule.error()};
            if (paneModule->get() != &module) continue;
            if (Status status = ClearSpaceOnlyLines(module, counts); !status) return status;
        }
        return {};
    });
}

CleanupReport MakeCleanupReport(const CleanupOutcome& outcome) {
    const CleanupCounts& counts = outcome.counts;
    CleanupReport report;
    report.text = std::to_string(counts.emptied) + "行の無駄スペースを削除しました。";
    report.title = "処理完了";
    if (counts.refused > 0) {
        report.text += std::string(kCrLf) + kCrLf + std::to_string(counts.refused) +
                       "行の無駄スペース削除に失敗しました。" + kCrLf +
                       "ファイルが書込み禁止になっているのかもしれません。";
        report.title = "処理完了（クリーンアップに失敗した箇所があります）";
    }
    if (outcome.stopped) {
        report.text +=
            std::string(kCrLf) + kCrLf + "エラーのため途中で中断しました: " + outcome.reason;
        report.title = "処理中断";
    }
    return report;
}

}  // namespace trawlex::host
