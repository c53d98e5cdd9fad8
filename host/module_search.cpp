#include "host/module_search.h"

#include <memory>
#include <string>

#include "host/host_app.h"

namespace trawlex::window {

namespace {

using host::CodeModule;

// The procedure's lines, preceded by one empty line per module line above it, so that the
// scan numbers them as the module does. The kind ProcOfLine reports is the one asked for,
// so a caret inside a Property procedure finds that procedure.
Result<std::string> ProcedureText(const CodeModule& module, int caretLine) {
    Result<host::ProcRef> proc = module.ProcOfLine(caretLine);
    if (!proc) return Failure{proc.error()};
    if (proc->name.empty()) {
        Result<int> declarations = module.CountOfDeclarationLines();
        if (!declarations) return Failure{declarations.error()};
        return module.Lines(1, *declarations);
    }
    Result<int> start = module.ProcStartLine(proc->name, proc->kind);
    if (!start) return Failure{start.error()};
    Result<int> count = module.ProcCountLines(proc->name, proc->kind);
    if (!count) return Failure{count.error()};
    Result<std::string> lines = module.Lines(*start, *count);
    if (!lines) return lines;
    std::string text;
    const int padding = *start > 1 ? *start - 1 : 0;
    text.reserve(static_cast<std::size_t>(padding) * 2 + lines->size());
    for (int i = 0; i < padding; ++i) text += "\r\n";
    text += *lines;
    return text;
}

Result<std::string> WholeModuleText(const CodeModule& module) {
    Result<int> count = module.CountOfLines();
    if (!count) return Failure{count.error()};
    return module.Lines(1, *count);
}

Result<ModuleSearchEnd> SearchActiveModule(host::HostApp& host, SearchArea area,
                                           std::string_view search, const ScanRoles& scan,
                                           MatchEngine& engine) {
    auto pane = host.ActiveCodePane();
    if (!pane) return Failure{pane.error()};
    if (!*pane) return ModuleSearchEnd::NoCodePane;
    auto module = (*pane)->CodeModule();
    if (!module) return Failure{module.error()};
    Result<std::string> text = Failure{};
    if (area == SearchArea::Procedure) {
        auto selection = (*pane)->GetSelection();
        if (!selection) return Failure{selection.error()};
        text = ProcedureText(**module, selection->startLine);
    } else {
        text = WholeModuleText(**module);
    }
    if (!text) return Failure{text.error()};
    auto name = (*module)->Name();
    if (!name) return Failure{name.error()};
    SearchText(*text, *name, search, scan, engine);
    return ModuleSearchEnd::Searched;
}

// One module of Project or OpenModules; any failure skips it.
void SearchOneModule(const Result<std::shared_ptr<CodeModule>>& module, std::string_view search,
                     const ScanRoles& scan, MatchEngine& engine) {
    if (!module || !*module) return;
    Result<std::string> text = WholeModuleText(**module);
    auto name = (*module)->Name();
    if (!name) return;
    SearchText(text ? *text : std::string(), *name, search, scan, engine);
}

template <typename Collection, typename ModuleOf>
ModuleSearchEnd SearchEach(Collection& items, std::string_view search, const ScanRoles& scan,
                           MatchEngine& engine, ModuleOf moduleOf) {
    const int count = items.Count().value_or(0);
    for (int i = 1; i <= count; ++i) {
        auto item = items.Item(i);
        if (item && *item) SearchOneModule(moduleOf(**item), search, scan, engine);
        if (scan.control.StopRequested()) return ModuleSearchEnd::Stopped;
    }
    return ModuleSearchEnd::Searched;
}

ModuleSearchEnd SearchProject(host::HostApp& host, std::string_view search, const ScanRoles& scan,
                              MatchEngine& engine) {
    auto project = host.ActiveVBProject();
    if (!project || !*project) return ModuleSearchEnd::Searched;
    auto components = (*project)->VBComponents();
    if (!components || !*components) return ModuleSearchEnd::Searched;
    return SearchEach(**components, search, scan, engine,
                      [](host::VBComponent& component) { return component.CodeModule(); });
}

ModuleSearchEnd SearchOpenModules(host::HostApp& host, std::string_view search,
                                  const ScanRoles& scan, MatchEngine& engine) {
    auto panes = host.CodePanes();
    if (!panes || !*panes) return ModuleSearchEnd::Searched;
    return SearchEach(**panes, search, scan, engine,
                      [](host::CodePane& pane) { return pane.CodeModule(); });
}

}  // namespace

Result<ModuleSearchEnd> SearchModules(host::HostApp& host, SearchArea area, std::string_view search,
                                      const ScanRoles& scan, MatchEngine& engine) {
    switch (area) {
        case SearchArea::Procedure:
        case SearchArea::Module:
            return SearchActiveModule(host, area, search, scan, engine);
        case SearchArea::Project:
            return SearchProject(host, search, scan, engine);
        case SearchArea::OpenModules:
            return SearchOpenModules(host, search, scan, engine);
        default:
            return Failure{"not a module search area"};
    }
}

}  // namespace trawlex::window
