// The four search areas over the host editor's code, against the fake host.

#include "host/module_search.h"

#include <QtTest>
#include <vector>

#include "tests/fake_host/fake_host.h"

using namespace trawlex;
using namespace trawlex::window;
using host::fake::FakeHost;

namespace {

constexpr const char* kInventory =
    "Option Explicit\r\n"                                 // 1
    "Private mCount As Long\r\n"                          // 2
    "\r\n"                                                // 3
    "' Adds one item\r\n"                                 // 4
    "Public Sub AddItem()\r\n"                            // 5
    "    mCount = mCount + 1\r\n"                         // 6
    "End Sub\r\n"                                         // 7
    "\r\n"                                                // 8
    "Private Property Get Count() As Long\r\n"            // 9
    "    Count = mCount\r\n"                              // 10
    "End Property\r\n"                                    // 11
    "\r\n"                                                // 12
    "Public Property Let Count(ByVal value As Long)\r\n"  // 13
    "    mCount = value\r\n"                              // 14
    "End Property\r\n";                                   // 15

// Collects the rows; optionally asks to stop once it holds `stopAfter` rows.
class Collector : public ScanHost {
  public:
    MatchOptions options;
    std::vector<ResultRow> rows;
    std::size_t stopAfter = 0;

    MatchOptions CurrentOptions() const override { return options; }
    void AddRow(ResultRow row) override { rows.push_back(std::move(row)); }
    bool StopRequested() const override { return stopAfter && rows.size() >= stopAfter; }

    std::vector<std::int64_t> Lines() const {
        std::vector<std::int64_t> lines;
        for (const ResultRow& row : rows) lines.push_back(row.line);
        return lines;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const ResultRow& row : rows) names.push_back(row.name);
        return names;
    }
};

void PutCaret(host::fake::FakeCodePane& pane, int line) {
    QVERIFY(pane.SetSelection({line, 5, line, 5}).ok());
}

using Lines = std::vector<std::int64_t>;
using Names = std::vector<std::string>;

}  // namespace

class ModuleSearchTest : public QObject {
    Q_OBJECT
    MatchEngine engine_;

    Result<ModuleSearchEnd> Run(FakeHost& host, SearchArea area, const char* search,
                                Collector& rows) {
        return SearchModules(host, area, search, rows, engine_);
    }

  private slots:
    void procedureSearchesTheProcedureAtTheCaretWithModuleLineNumbers() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("Inventory")->AddModule("modStock", kInventory));
        PutCaret(*pane, 6);
        Collector rows;
        auto end = Run(host, SearchArea::Procedure, "mCount", rows);
        QVERIFY2(end.ok(), end.error().c_str());
        QCOMPARE(*end, ModuleSearchEnd::Searched);
        QCOMPARE(rows.Lines(), Lines({6}));
        QCOMPARE(rows.rows[0].name, std::string("modStock"));
        QCOMPARE(rows.rows[0].procedure, std::string("AddItem"));
        QCOMPARE(rows.rows[0].scope, std::string("Public"));
        QCOMPARE(rows.rows[0].content, std::string("mCount = mCount + 1"));
    }

    void procedureInsideAPropertySearchesThatProperty() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("Inventory")->AddModule("modStock", kInventory));
        PutCaret(*pane, 10);
        Collector rows;
        auto end = Run(host, SearchArea::Procedure, "mCount", rows);
        QVERIFY2(end.ok(), end.error().c_str());
        QCOMPARE(rows.Lines(), Lines({10}));

        // The Let of the same name is a procedure of its own.
        PutCaret(*pane, 14);
        rows.rows.clear();
        end = Run(host, SearchArea::Procedure, "mCount", rows);
        QVERIFY2(end.ok(), end.error().c_str());
        QCOMPARE(rows.Lines(), Lines({14}));
    }

    void procedureInTheDeclarationsSearchesOnlyTheDeclarations() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("Inventory")->AddModule("modStock", kInventory));
        PutCaret(*pane, 1);
        Collector rows;
        QVERIFY(Run(host, SearchArea::Procedure, "mCount", rows).ok());
        QCOMPARE(rows.Lines(), Lines({2}));
        QCOMPARE(rows.rows[0].procedure, std::string("(Declarations)"));
    }

    void procedurePaddingLinesAreScannedToo() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("Inventory")->AddModule("modStock", kInventory));
        PutCaret(*pane, 6);
        Collector rows;
        rows.options.mode = SearchMode::Regex;
        QVERIFY(Run(host, SearchArea::Procedure, "^$", rows).ok());
        // Lines 1 and 2 stand in front of the procedure as empty lines; line 3 is its own.
        QCOMPARE(rows.Lines(), Lines({1, 2, 3}));
    }

    void moduleSearchesTheWholeActiveModule() {
        FakeHost host;
        auto project = host.AddProject("Inventory");
        project->AddModule("modOther", "Sub X()\r\n  mCount = 0\r\nEnd Sub\r\n");
        auto pane = host.OpenPane(project->AddModule("modStock", kInventory));
        PutCaret(*pane, 6);
        Collector rows;
        QVERIFY(Run(host, SearchArea::Module, "mCount", rows).ok());
        QCOMPARE(rows.Lines(), Lines({2, 6, 10, 14}));
        QCOMPARE(rows.Names(), Names(4, "modStock"));
    }

    void activeModuleAreasWithoutACodePaneSearchNothing() {
        FakeHost host;
        host.AddProject("Inventory")->AddModule("modStock", kInventory);
        for (SearchArea area : {SearchArea::Procedure, SearchArea::Module}) {
            Collector rows;
            auto end = Run(host, area, "mCount", rows);
            QVERIFY(end.ok());
            QCOMPARE(*end, ModuleSearchEnd::NoCodePane);
            QVERIFY(rows.rows.empty());
        }
    }

    void activeModuleAreasFailWithTheHostsDescription() {
        FakeHost host;
        host.OpenPane(host.AddProject("Inventory")->AddModule("modStock", kInventory));
        host.FailMember("CodeModule.Lines", "Lines unavailable");
        for (SearchArea area : {SearchArea::Procedure, SearchArea::Module}) {
            Collector rows;
            auto end = Run(host, area, "mCount", rows);
            QVERIFY(!end.ok());
            QCOMPARE(end.error(), std::string("Lines unavailable"));
        }
    }

    void projectSearchesEveryModuleAndSkipsComponentsWithoutCode() {
        FakeHost host;
        auto project = host.AddProject("Inventory");
        project->AddModule("modA", "x = 1\r\n");
        project->AddComponentWithoutCode("Resources");
        project->AddModule("modB", "y = 2\r\nx = 3\r\n");
        Collector rows;
        auto end = Run(host, SearchArea::Project, "x", rows);
        QVERIFY(end.ok());
        QCOMPARE(*end, ModuleSearchEnd::Searched);
        QCOMPARE(rows.Names(), Names({"modA", "modB"}));
        QCOMPARE(rows.Lines(), Lines({1, 2}));
    }

    void projectSkipsAFailingModuleSilently() {
        FakeHost host;
        host.AddProject("Inventory")->AddModule("modA", "x = 1\r\n");
        host.FailMember("CodeModule.CountOfLines", "busy");
        Collector rows;
        auto end = Run(host, SearchArea::Project, "x", rows);
        QVERIFY(end.ok());
        QCOMPARE(*end, ModuleSearchEnd::Searched);
        QVERIFY(rows.rows.empty());
    }

    void projectStopsAfterTheModuleInWhichStopWasRequested() {
        FakeHost host;
        auto project = host.AddProject("Inventory");
        project->AddModule("modA", "x = 1\r\nx = 2\r\n");
        project->AddModule("modB", "x = 3\r\n");
        Collector rows;
        rows.stopAfter = 1;
        auto end = Run(host, SearchArea::Project, "x", rows);
        QVERIFY(end.ok());
        QCOMPARE(*end, ModuleSearchEnd::Stopped);
        QCOMPARE(rows.Names(), Names({"modA"}));
    }

    void projectWithoutAnActiveProjectFindsNothing() {
        FakeHost host;
        host.AddProject("Inventory")->AddModule("modA", "x = 1\r\n");
        host.SetActiveProject(nullptr);
        Collector rows;
        auto end = Run(host, SearchArea::Project, "x", rows);
        QVERIFY(end.ok());
        QCOMPARE(*end, ModuleSearchEnd::Searched);
        QVERIFY(rows.rows.empty());
    }

    void openModulesSearchesEachOpenPaneInHostOrder() {
        FakeHost host;
        auto project = host.AddProject("Inventory");
        auto a = project->AddModule("modA", "x = 1\r\n");
        auto b = project->AddModule("modB", "x = 2\r\n");
        project->AddModule("modClosed", "x = 3\r\n");
        host.OpenPane(b);
        host.OpenPane(a);
        host.OpenPane(b);  // the same module in a second pane is searched twice
        Collector rows;
        QVERIFY(Run(host, SearchArea::OpenModules, "x", rows).ok());
        QCOMPARE(rows.Names(), Names({"modB", "modA", "modB"}));
    }
};

QTEST_MAIN(ModuleSearchTest)
#include "module_search_test.moc"
