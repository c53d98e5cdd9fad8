// Beyond the original window: matched parts drawn highlighted, the filter over a result
// list, per-tab counts, and the drop-down that keeps hits by where the match lies.

#include "window/list_extras.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "tests/fake_host/fake_host.h"
#include "tests/fixtures/region_module.h"
#include "window/control_settings.h"
#include "window/frm_add_in.h"
#include "window/highlight_delegate.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using namespace trawlex;
using namespace trawlex::window;
using host::fake::FakeHost;

namespace {

using Ranges = QList<QPair<int, int>>;

QStringList Shown(const ResultList& list, int column) {
    QStringList texts;
    for (int r = 0; r < list.ShownRowCount(); ++r) texts << list.CellText(r, column);
    return texts;
}

// Pixels of about the match colour in a row's 該当する内容 cell (the glyphs' edges blend).
int MatchPixels(ResultList& list, int row) {
    list.Model().Flush();
    const QRect cell = list.visualRect(list.Model().index(row, 4));
    const QImage image = list.viewport()->grab(cell).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const QColor match = HighlightDelegate::MatchBackground();
            if (std::abs(pixel.red() - match.red()) < 40 &&
                std::abs(pixel.green() - match.green()) < 40 &&
                std::abs(pixel.blue() - match.blue()) < 40) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace

class ListExtrasTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void matchRangesAreUtf16PositionsOfTheLinesOwnCharacters() {
        HighlightDelegate delegate;
        QVERIFY(
            delegate.MatchRanges(QModelIndex(), QStringLiteral("abc")).isEmpty());  // no search yet
        delegate.SetSearch("abc", {SearchMode::Normal, false});
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QStringLiteral("x ＡＢＣ abc")),
                 (Ranges{{2, 5}, {6, 9}}));
        // A character beyond the BMP takes two UTF-16 units before the match.
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QString::fromUtf8("\xF0\x9F\x98\x80 ABC")),
                 (Ranges{{3, 6}}));
        delegate.SetSearch("かな", {SearchMode::Normal, false});
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QStringLiteral("' ｶﾅ")), (Ranges{{2, 4}}));
        delegate.SetSearch("ｶﾞｲﾄﾞ", {SearchMode::Wildcard, false});
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QStringLiteral("see ガイド")),
                 (Ranges{{4, 7}}));
        delegate.SetSearch("[0-9]+", {SearchMode::Regex, false});
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QStringLiteral("a1b22")),
                 (Ranges{{1, 2}, {3, 5}}));
        delegate.SetSearch("Foo", {SearchMode::Word, false});
        QCOMPARE(delegate.MatchRanges(QModelIndex(), QStringLiteral("Foo FooBar Foo")),
                 (Ranges{{0, 3}, {11, 14}}));
    }

    void matchesAreDrawnOnTheSoftColourAlsoWhenSelected() {
        ResultList list(0);
        list.resize(600, 200);
        list.show();
        list.AddRow({"Module1", 1, "", "", "Call Needle(1)"});
        list.AddRow({"Module1", 2, "", "", "nothing here"});
        list.SetHighlight("needle", {SearchMode::Normal, false});
        for (int column = 0; column < 4; ++column) list.SetColumnWidthTwips(column, 600);
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(MatchPixels(list, 0) > 0);
        QCOMPARE(MatchPixels(list, 1), 0);
        list.SelectRow(0);
        QVERIFY(MatchPixels(list, 0) > 0);
        list.SetHighlight(std::string(), {});
        QCOMPARE(MatchPixels(list, 0), 0);
    }

    void filterHidesRowsWithoutTheTextAndKeepsSortCopyAndRemoval() {
        ResultList list(0);
        list.AddRow({"modA", 10, "Main", "Public", "Stock = 1"});
        list.AddRow({"modB", 9, "Calc", "Private", "x = 2"});
        list.AddRow({"modC", 3, "ｓｔｏｃｋＣｈｅｃｋ", "", "y = 3"});
        list.AddRow({"modD", 4, "Other", "", "' 在庫"});
        ResultTableModel& model = list.Model();

        model.SetFilter(QStringLiteral("STOCK"));  // folded: case and width
        QCOMPARE(Shown(list, 0), QStringList({"modA", "modC"}));
        QCOMPARE(list.RowCount(), 4);          // the counts of a search stay whole
        model.SetFilter(QStringLiteral("9"));  // the line column counts too
        QCOMPARE(Shown(list, 0), QStringList({"modB"}));
        model.SetFilter(QStringLiteral("o"));
        QCOMPARE(Shown(list, 0), QStringList({"modA", "modB", "modC", "modD"}));
        model.SetFilter(QStringLiteral("ock"));  // narrows what "o" showed
        QCOMPARE(Shown(list, 0), QStringList({"modA", "modC"}));

        list.ColumnClick(0);  // descending by name, the hidden rows sorted along
        QCOMPARE(Shown(list, 0), QStringList({"modC", "modA"}));
        list.SelectRow(1);
        list.CopyToClipboard();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Stock = 1"));
        list.DeleteSelectedRow();
        QCOMPARE(Shown(list, 0), QStringList({"modC"}));
        QCOMPARE(list.SelectedRow(), 0);

        // Rows that arrive while filtering are filtered as they come, in sorted place.
        list.AddRow({"modE", 5, "", "", "stocked"});
        list.AddRow({"modF", 6, "", "", "none"});
        QCOMPARE(Shown(list, 0), QStringList({"modE", "modC"}));

        model.SetFilter(QString());
        QCOMPARE(Shown(list, 0), QStringList({"modF", "modE", "modD", "modC", "modB"}));
        // A text filtered before shows the rows that came since as well.
        model.SetFilter(QStringLiteral("ock"));
        QCOMPARE(Shown(list, 0), QStringList({"modE", "modC"}));
        model.SetFilter(QString());
        model.SetFilter(QStringLiteral("zzz"));
        QCOMPARE(list.ShownRowCount(), 0);
        QCOMPARE(list.SelectedRow(), -1);
        list.Clear();
        QCOMPARE(list.RowCount(), 0);
        QVERIFY(model.Filtering());
    }

    void countsTellTheRowsAndNamesTheFilterShows() {
        ResultList list(0);
        ResultTableModel& model = list.Model();
        list.AddRow({"modA", 1, "", "", "Stock = 1"});
        list.AddRow({"modA", 2, "", "", "x = 2"});
        list.AddRow({"modB", 3, "", "", "stock"});
        list.AddRow({"modC", 4, "", "", "y"});
        QCOMPARE(CountsText(list), QStringLiteral("4 件（3 ファイル）"));
        model.SetFilter(QStringLiteral("stock"));
        QCOMPARE(CountsText(list), QStringLiteral("2 / 4 件（2 / 3 ファイル）"));
        model.SetFilter(QStringLiteral("x"));
        QCOMPARE(CountsText(list), QStringLiteral("1 / 4 件（1 / 3 ファイル）"));

        // Rows the filter hides count among all at once; the ones it shows among both.
        QSignalSpy counts(&model, &ResultTableModel::CountsChanged);
        list.AddRow({"modD", 5, "", "", "none"});
        model.Flush();
        QCOMPARE(counts.count(), 1);
        QCOMPARE(CountsText(list), QStringLiteral("1 / 5 件（1 / 4 ファイル）"));
        list.AddRow({"modE", 6, "", "", "x"});
        QCOMPARE(CountsText(list), QStringLiteral("2 / 6 件（2 / 5 ファイル）"));

        // A removed row leaves its name counted while other rows hold it.
        list.SelectRow(0);
        list.DeleteSelectedRow();
        QCOMPARE(CountsText(list), QStringLiteral("1 / 5 件（1 / 5 ファイル）"));
        list.SelectRow(0);
        list.DeleteSelectedRow();
        QCOMPARE(CountsText(list), QStringLiteral("0 / 4 件（0 / 4 ファイル）"));

        model.SetFilter(QStringLiteral("mod"));  // every row shown, still filtered
        QCOMPARE(CountsText(list), QStringLiteral("4 / 4 件（4 / 4 ファイル）"));
        model.SetFilter(QString());
        QCOMPARE(CountsText(list), QStringLiteral("4 件（4 ファイル）"));
        list.Clear();
        QCOMPARE(CountsText(list), QString());
        list.AddRow({"modA", 1, "", "", "again"});
        QCOMPARE(CountsText(list), QStringLiteral("1 件（1 ファイル）"));
    }

    void windowFiltersTheCurrentTabAndCountsPerTab() {
        FakeHost host;
        auto project = host.AddProject("P");
        host.OpenPane(project->AddModule("modR", std::string(fixtures::kRegionModule)));
        project->AddModule("modS", "x = needle\r\n");
        frmAddIn w(&host, "/src/");
        QCOMPARE(w.cmbMatchPlace->objectName(), QStringLiteral("cmbMatchPlace"));
        QCOMPARE(w.cmbMatchPlace->count(), 4);
        QCOMPARE(w.cmbMatchPlace->itemText(0), QStringLiteral("すべて"));
        QCOMPARE(w.cmbMatchPlace->itemText(3), QStringLiteral("文字列のみ"));

        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("needle");
        RunSearch(w);
        QCOMPARE(w.List(0).RowCount(), 6);
        QCOMPARE(w.StatusText(), QStringLiteral("6 件みつかりました"));
        QTRY_COMPARE(w.lblCounts->text(), QStringLiteral("6 件（1 モジュール）"));
        QCOMPARE(w.tabPane[0]->toolTip(), w.lblCounts->text());

        // A filter that keeps every row shows in the counts too.
        w.edtRowFilter->setText(QStringLiteral("needle"));
        QCOMPARE(w.List(0).ShownRowCount(), 6);
        QCOMPARE(w.lblCounts->text(), QStringLiteral("6 / 6 件（1 / 1 モジュール）"));
        w.edtRowFilter->setText(QStringLiteral("ＣＡＬＬ"));
        QCOMPARE(w.List(0).ShownRowCount(), 1);
        QCOMPARE(w.lblCounts->text(), QStringLiteral("1 / 6 件（1 / 1 モジュール）"));
        QCOMPARE(w.StatusText(), QStringLiteral("6 件みつかりました"));

        // The next tab has its own filter; coming back brings the text back.
        w.tabPane[1]->click();
        QCOMPARE(w.edtRowFilter->text(), QString());
        QCOMPARE(w.lblCounts->text(), QString());
        w.cmbSearchArea->setCurrentIndex(2);
        w.txtSearchStr->setEditText("needle");
        w.cmbMatchPlace->setCurrentIndex(2);  // comments only
        RunSearch(w);
        QCOMPARE(w.List(1).RowCount(), 4);
        QCOMPARE(w.List(1).Row(2).line, 5);  // the continued comment line
        w.tabPane[0]->click();
        QCOMPARE(w.edtRowFilter->text(), QStringLiteral("ＣＡＬＬ"));
        QCOMPARE(w.cmbMatchPlace->currentIndex(), 0);  // saved with tab 1's search
        w.tabPane[1]->click();
        QCOMPARE(w.cmbMatchPlace->currentIndex(), 2);
        QTRY_COMPARE(w.tabPane[1]->toolTip(), QStringLiteral("4 件（1 モジュール）"));
    }

    void dropDownKeepsHitsByWhereTheMatchLies_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QList<qint64>>("lines");
        QTest::addColumn<QList<Ranges>>("ranges");  // drawn per row
        QTest::newRow("all") << 0 << QList<qint64>{1, 2, 3, 5, 6, 7}
                             << QList<Ranges>{{{4, 10}}, {{8, 14}},  {{4, 10}},
                                              {{0, 6}},  {{11, 17}}, {{5, 11}, {14, 20}}};
        QTest::newRow("code") << 1 << QList<qint64>{1, 7} << QList<Ranges>{{{4, 10}}, {{5, 11}}};
        QTest::newRow("comment") << 2 << QList<qint64>{2, 3, 5, 7}
                                 << QList<Ranges>{{{8, 14}}, {{4, 10}}, {{0, 6}}, {{14, 20}}};
        QTest::newRow("string") << 3 << QList<qint64>{6} << QList<Ranges>{{{11, 17}}};
    }

    void dropDownKeepsHitsByWhereTheMatchLies() {
        QFETCH(int, place);
        QFETCH(QList<qint64>, lines);
        FakeHost host;
        host.OpenPane(
            host.AddProject("P")->AddModule("modR", std::string(fixtures::kRegionModule)));
        frmAddIn w(&host, "/src/");
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("needle");
        w.cmbMatchPlace->setCurrentIndex(place);
        RunSearch(w);
        QList<qint64> found;
        for (int r = 0; r < w.List(0).RowCount(); ++r) found << w.List(0).Row(r).line;
        QCOMPARE(found, lines);

        // Only the matches where the search wanted them are drawn: "Call needle ' needle".
        auto* delegate = qobject_cast<HighlightDelegate*>(w.List(0).itemDelegateForColumn(4));
        QVERIFY(delegate);
        QList<Ranges> drawn;
        for (int r = 0; r < w.List(0).ShownRowCount(); ++r) {
            const QModelIndex cell = w.List(0).Model().index(r, 4);
            drawn << delegate->MatchRanges(cell, cell.data().toString());
        }
        QFETCH(QList<Ranges>, ranges);
        QCOMPARE(drawn, ranges);
    }
};

QTEST_MAIN(ListExtrasTest)
#include "list_extras_test.moc"
