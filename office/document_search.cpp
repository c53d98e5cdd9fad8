#include "office/document_search.h"

#include "office/office_document.h"
#include "search/run_status.h"

namespace trawlex::office {
namespace {

// The caller's host, with the module's name put on every row.
class ModuleRowHost final : public ScanHost {
  public:
    ModuleRowHost(ScanHost& inner, const std::string& module) : inner_(inner), module_(module) {
        SetSteady(inner.Steady());
        SetSteadyStretch(inner.SteadyStretch());
    }
    void Yield() override { inner_.Yield(); }
    bool StopRequested() const override { return inner_.StopRequested(); }
    MatchOptions CurrentOptions() const override { return inner_.CurrentOptions(); }
    RegionSet WantedRegions() const override { return inner_.WantedRegions(); }
    void LineUntested(std::string_view name, std::int64_t line) override {
        inner_.LineUntested(RowDisplayName(name, module_), line);
    }
    void AddRow(ResultRow row) override {
        row.module = module_;
        inner_.AddRow(std::move(row));
    }

  private:
    ScanHost& inner_;
    const std::string& module_;
};

}  // namespace

void SearchOfficeDocument(std::string_view bytes, const std::string& path, std::string_view search,
                          ScanHost& host, MatchEngine& engine,
                          const std::function<void(const std::string&)>& report) {
    const auto fail = [&](const std::string& description) {
        report(std::string(kStatusErrorPrefix) + path + ": " + description);
    };
    Result<OfficeProject> project = ReadOfficeDocument(bytes);
    if (!project) return fail(project.error());
    for (const std::string& problem : project->problems) fail(problem);
    for (const OfficeModule& module : project->modules) {
        if (host.StopRequested()) return;
        ModuleRowHost moduleHost(host, module.name);
        SearchText(module.text, path, search, moduleHost, engine);
    }
}

}  // namespace trawlex::office
