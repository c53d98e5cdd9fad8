// The folded texts the filter box searches: every column of every row, texts that rows
// share searched once, and the one-row and all-rows answers the same.

#include "window/row_filter.h"

#include <QtTest>
#include <string>
#include <vector>

using trawlex::ResultRow;
using trawlex::window::RecentFilters;
using trawlex::window::RowTextIndex;

namespace {

// The rows MatchAll shows, checked against Matches row by row.
std::vector<int> ShownRows(const RowTextIndex& index, const QString& filter) {
    const std::string folded = RowTextIndex::FoldFilter(filter.toStdString());
    std::vector<char> shown;
    index.MatchAll(folded, shown);
    std::vector<int> rows;
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (static_cast<bool>(shown[row]) != index.Matches(row, folded)) return {-1};
        if (shown[row]) rows.push_back(static_cast<int>(row));
    }
    return rows;
}

}  // namespace

class RowFilterTest : public QObject {
    Q_OBJECT

  private slots:
    void everyColumnIsSearchedFoldedAndNoneAcrossTwo() {
        RowTextIndex index;
        index.Append({"C:\\src\\Module1.bas", 10, "Main", "Public", "Stock = 1"});
        index.Append({"C:\\src\\Module1.bas", 22, "Main", "Public", "x = ｽﾄｯｸ"});
        index.Append({"C:\\src\\Module2.bas", 3, "", "", "' 在庫"});
        index.Append({"C:\\src\\Module2.bas", 4, "Calc", "Private", "y = 0"});
        QCOMPARE(index.Size(), std::size_t{4});
        using Rows = std::vector<int>;
        QCOMPARE(ShownRows(index, QStringLiteral("module1")), (Rows{0, 1}));  // the name
        QCOMPARE(ShownRows(index, QStringLiteral("22")), (Rows{1}));          // the line
        QCOMPARE(ShownRows(index, QStringLiteral("MAIN")), (Rows{0, 1}));     // the procedure
        QCOMPARE(ShownRows(index, QStringLiteral("priv")), (Rows{3}));        // the scope
        QCOMPARE(ShownRows(index, QStringLiteral("すとっく")), (Rows{1}));    // the content
        QCOMPARE(ShownRows(index, QStringLiteral("stock")), (Rows{0}));
        QCOMPARE(ShownRows(index, QStringLiteral("在庫")), (Rows{2}));
        // A shared text and a row's own text both hold it.
        QCOMPARE(ShownRows(index, QStringLiteral("c")), (Rows{0, 1, 2, 3}));
        QCOMPARE(ShownRows(index, QStringLiteral("0")), (Rows{0, 3}));
        // Two columns side by side are not one text.
        QCOMPARE(ShownRows(index, QStringLiteral("Main Public")), Rows{});
        QCOMPARE(ShownRows(index, QStringLiteral("bas\n10")), Rows{});
        QCOMPARE(ShownRows(index, QStringLiteral("zzz")), Rows{});
        QCOMPARE(ShownRows(index, QString()), (Rows{0, 1, 2, 3}));
    }

    void emptyAndRepeatedColumnsKeepTheirOwnTexts() {
        // Rows whose procedure or scope is empty, next to rows that share a name only.
        RowTextIndex index;
        index.Append({"a", 1, "", "", "one"});
        index.Append({"b", 2, "", "Public", "two"});
        index.Append({"a", 3, "Sub1", "", "three"});
        index.Append({"b", 4, "a", "", "four"});
        using Rows = std::vector<int>;
        QCOMPARE(ShownRows(index, QStringLiteral("a")), (Rows{0, 2, 3}));
        QCOMPARE(ShownRows(index, QStringLiteral("b")), (Rows{1, 2, 3}));  // "Public", "Sub1"
        QCOMPARE(ShownRows(index, QStringLiteral("sub")), (Rows{2}));
        QCOMPARE(ShownRows(index, QStringLiteral("o")), (Rows{0, 1, 3}));
        index.Clear();
        QCOMPARE(index.Size(), std::size_t{0});
        index.Append({"c", 9, "", "", "again"});
        QCOMPARE(ShownRows(index, QStringLiteral("a")), (Rows{0}));
        QCOMPARE(ShownRows(index, QStringLiteral("b")), Rows{});
    }

    void recentTextsAreRecalledWithTheRowsAddedSince() {
        RowTextIndex index;
        index.Append({"m", 1, "", "", "alpha"});
        index.Append({"m", 2, "", "", "beta"});
        RecentFilters recent;
        std::vector<char> shown;
        QVERIFY(!recent.Recall(index, "alpha", shown));
        index.MatchAll("alpha", shown);
        recent.Remember("alpha", shown);
        index.Append({"m", 3, "", "", "alphabet"});
        index.Append({"m", 4, "", "", "gamma"});
        QVERIFY(recent.Recall(index, "alpha", shown));
        QCOMPARE(shown, (std::vector<char>{1, 0, 1, 0}));
        // Only the newest texts are kept.
        for (std::size_t i = 0; i < RecentFilters::kKept; ++i) {
            const std::string text = "t" + std::to_string(i);
            index.MatchAll(text, shown);
            recent.Remember(text, shown);
        }
        QVERIFY(!recent.Recall(index, "alpha", shown));
        QVERIFY(recent.Recall(index, "t0", shown));
        recent.Clear();
        QVERIFY(!recent.Recall(index, "t0", shown));
    }
};

QTEST_MAIN(RowFilterTest)
#include "row_filter_test.moc"
