#include "office/document_search.h"

#include "office/office_document.h"
#include "search/run_status.h"

namespace trawlex::office {
namespace {

// The caller's rows, with the module's name put on every one.
class ModuleRows final : public RowSink {
  public:
    ModuleRows(RowSink& inner, const std::string& module) : inner_(inner), module_(module) {}
    void LineUntested(std::string_view name, std::int64_t line) override {
        inner_.LineUntested(RowDisplayName(name, module_), line);
    }
    void AddRow(ResultRow row) override {
        row.module = module_;
        inner_.AddRow(std::move(row));
    }
    void AddRowView(const ResultRowView& row) override {
        ResultRowView named = row;
        named.module = module_;
        inner_.AddRowView(named);
    }

  private:
    RowSink& inner_;
    const std::string& module_;
};

}  // namespace

void SearchOfficeDocument(std::string_view bytes, const std::string& path, std::string_view search,
                          const ScanRoles& roles, MatchEngine& engine,
                          const std::function<void(const std::string&)>& report) {
    const auto fail = [&](const std::string& description) {
        report(std::string(kStatusErrorPrefix) + path + ": " + description);
    };
    Result<OfficeProject> project = ReadOfficeDocument(bytes);
    if (!project) return fail(project.error());
    for (const std::string& problem : project->problems) fail(problem);
    for (const OfficeModule& module : project->modules) {
        if (roles.control.StopRequested()) return;
        ModuleRows rows(roles.rows, module.name);
        SearchText(module.text, path, search, ScanRoles(rows, roles.control, roles.options),
                   engine);
    }
}

}  // namespace trawlex::office
