// result-list-bench [ROWS_APPENDED] [ROWS_SORTED] [ROWS_EXPORTED]
// Prints the figures and exits non-zero when a target is missed:
//  - appending the hits of a search to a shown list (with the column fitting and an event
//    pump every 15 ms, as a line-by-line run does) costs no more than the engine's own scan (hits
//    on one line in ten; the dense case of one line in two is reported too);
//  - a header click sorts a million rows in under a second;
//  - the export of 100,000 rows takes seconds.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "search/match_engine.h"
#include "search/text_scan.h"
#include "window/excel_export.h"
#include "window/result_list.h"

using trawlex::MatchOptions;
using trawlex::ResultRow;
using trawlex::window::ResultList;

namespace {

// A module text with `hits` matching lines, each followed by `others` lines without a hit.
std::string MakeText(int hits, int others) {
    std::string text;
    text.reserve(static_cast<std::size_t>(hits) * (45 + 30 * others));
    int line = 0;
    while (line < hits) {
        text += "Public Sub Procedure" + std::to_string(line) + "(ByVal value As Long)\r\n";
        for (int i = 0; i < 50 && line < hits; ++i, ++line) {
            text += "    total = total + Compute(value, " + std::to_string(line) + ")\r\n";
            for (int k = 0; k < others; ++k) text += "    ' nothing to see here, line\r\n";
        }
        text += "End Sub\r\n";
    }
    return text;
}

class CollectingHost : public trawlex::ScanHost {
  public:
    MatchOptions CurrentOptions() const override { return {}; }
    void AddRow(ResultRow row) override { rows.push_back(std::move(row)); }
    std::vector<ResultRow> rows;
};

// What the search window does: append each hit, and about every 15 ms fit the columns to the
// new rows and pump.
class ListHost : public trawlex::ScanHost {
  public:
    explicit ListHost(ResultList& list) : list_(list) { pump_.start(); }
    MatchOptions CurrentOptions() const override { return {}; }
    void Yield() override {
        if (++lines_ % 64 == 0 && pump_.elapsed() >= 15) {
            list_.FitColumnWidths();
            QCoreApplication::processEvents();
            pump_.restart();
        }
    }
    void AddRow(ResultRow row) override { list_.AddRow(std::move(row)); }

  private:
    ResultList& list_;
    QElapsedTimer pump_;
    unsigned lines_ = 0;
};

double Ms(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

ResultRow SortRow(int i) {
    const unsigned h = static_cast<unsigned>(i) * 2654435761u;
    return ResultRow{
        "/src/Project" + std::to_string(h % 997) + "/Module" + std::to_string(h % 89) + ".bas",
        static_cast<std::int64_t>(h % 100000) + 1, "Procedure" + std::to_string(h % 5003),
        (h & 1) ? "Public" : "Private",
        "total = total + Compute(value, " + std::to_string(h) + ")"};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int appendRows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int sortRows = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const int exportRows = argc > 3 ? std::atoi(argv[3]) : 100000;
    bool ok = true;

    // Appends against the engine's own time for the same search: hits on one line in ten,
    // and the dense extreme of one line in two.
    for (const int others : {9, 1}) {
        const std::string text = MakeText(appendRows, others);
        trawlex::MatchEngine engine;
        CollectingHost collect;
        QElapsedTimer timer;
        timer.start();
        trawlex::SearchText(text, "Module1", "compute(", collect, engine);
        const double engineMs = Ms(timer);

        ResultList list(0);
        list.resize(900, 600);
        list.show();
        QCoreApplication::processEvents();
        ListHost listHost(list);
        timer.restart();
        trawlex::SearchText(text, "Module1", "compute(", listHost, engine);
        list.FitColumnWidths();
        QCoreApplication::processEvents();
        const double runMs = Ms(timer);
        const double listMs = runMs - engineMs;
        std::printf("hits appended, 1 line in %d: %d (list holds %d)\n", others + 1,
                    static_cast<int>(collect.rows.size()), list.RowCount());
        std::printf("  engine alone (ms):        %.1f\n", engineMs);
        std::printf("  engine + list (ms):       %.1f\n", runMs);
        std::printf("  list's share (ms):        %.1f  -> %s\n", listMs,
                    listMs <= engineMs ? "within the engine's time" : "OVER the engine's time");
        // The dense extreme is reported; the target is held for the ordinary density.
        if (others == 9) ok = ok && listMs <= engineMs;
        ok = ok && list.RowCount() == static_cast<int>(collect.rows.size());
    }

    // Header-click sorts.
    ResultList big(1);
    big.resize(900, 600);
    big.show();
    for (int i = 0; i < sortRows; ++i) big.AddRow(SortRow(i));
    big.Model().Flush();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    double worstSortMs = 0;
    for (int column : {0, 1, 4, 1}) {
        timer.restart();
        big.ColumnClick(column);
        const double sortMs = Ms(timer);
        QCoreApplication::processEvents();
        const double ms = Ms(timer);
        worstSortMs = std::max(worstSortMs, ms);
        std::printf("sort %d rows by column %d (ms): %.1f, of which repainting %.1f  [%s]\n",
                    sortRows, column + 1, ms, ms - sortMs, qPrintable(big.HeaderText(column)));
    }
    ok = ok && worstSortMs < 1000;

    // The export.
    ResultList exported(2);
    for (int i = 0; i < exportRows; ++i) exported.AddRow(SortRow(i));
    QTemporaryDir out;
    timer.restart();
    const bool written =
        trawlex::window::WriteResultWorkbook(out.filePath("bench.xlsx"), exported, 2);
    const double exportMs = Ms(timer);
    std::printf("export %d rows (ms):     %.1f%s\n", exportRows, exportMs,
                written ? "" : "  FAILED");
    ok = ok && written && exportMs < 10000;

    std::printf("%s\n", ok ? "all targets met" : "a target was missed");
    return ok ? 0 : 1;
}
