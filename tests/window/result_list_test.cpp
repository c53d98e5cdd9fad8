// The result list: appends, sorting with its header marks, hiding and clearing rows,
// the clipboard copy, the keys and menu, column fitting in twips, and the result font.

#include "window/result_list.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>

#include "platform/registry.h"
#include "tests/fake_host/fake_host.h"
#include "window/control_settings.h"
#include "window/result_font.h"
#include "window/result_header.h"

using trawlex::ResultRow;
using trawlex::window::ResultList;

namespace {

ResultRow Hit(std::string name, std::int64_t line, std::string content = "x = 1",
              std::string procedure = "Main", std::string scope = "Public") {
    return ResultRow{std::move(name), line, std::move(procedure), std::move(scope),
                     std::move(content)};
}

QStringList Column(const ResultList& list, int column) {
    QStringList texts;
    for (int r = 0; r < list.RowCount(); ++r) texts << list.CellText(r, column);
    return texts;
}

QStringList Headers(const ResultList& list) {
    QStringList texts;
    for (int c = 0; c < 5; ++c) texts << list.HeaderText(c);
    return texts;
}

int ExpectedTwips(const ResultList& list, const QString& text) {
    const double pixels = QFontMetricsF(list.font(), &list).horizontalAdvance(text);
    return static_cast<int>(std::ceil(pixels * 1440.0 / list.logicalDpiX())) + 12;
}

// A fitted column: its text plus 12 twips, but never narrower than its header's caption.
int Fitted(const ResultList& list, int column, const QString& text) {
    return std::max(ExpectedTwips(list, text), list.HeaderWidthTwips(column));
}

}  // namespace

class ResultListTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
    }

    void appendsKeepOrderAndShowAfterThePump() {
        ResultList list(3);
        QCOMPARE(list.objectName(), QStringLiteral("lvwGrep"));
        QCOMPARE(list.property("index").toInt(), 3);
        QCOMPARE(Headers(list), QStringList({"ﾌｧｲﾙ名", "行", "ﾌﾟﾛｼｰｼﾞｬ", "ｽｺｰﾌﾟ", "該当する内容"}));
        list.AddRow(Hit("Module1", 12, "Dim a"));
        list.AddRow(Hit("Module2", 3, "Dim b"));
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(list.Model().rowCount(), 0);  // not yet handed to the view
        QTRY_COMPARE(list.Model().rowCount(), 2);
        QCOMPARE(Column(list, 0), QStringList({"Module1", "Module2"}));
        QCOMPARE(Column(list, 1), QStringList({"12", "3"}));
        QCOMPARE(list.Model().data(list.Model().index(1, 4)).toString(), QStringLiteral("Dim b"));
        // Reading a row hands pending rows over at once.
        list.AddRow(Hit("Module3", 1));
        QCOMPARE(list.Row(2).name, std::string("Module3"));
        QCOMPARE(list.Model().rowCount(), 3);
    }

    void headerClicksToggleOrderAndMoveTheMark() {
        ResultList list(0);
        for (int line : {9, 10, 2}) list.AddRow(Hit("M" + std::to_string(line), line));
        list.ColumnClick(1);
        QCOMPARE(list.HeaderText(1), QStringLiteral("▼行"));
        QCOMPARE(Column(list, 1), QStringList({"9", "2", "10"}));  // text order, descending
        list.ColumnClick(1);
        QCOMPARE(list.HeaderText(1), QStringLiteral("▲行"));
        QCOMPARE(Column(list, 1), QStringList({"10", "2", "9"}));
        list.ColumnClick(1);
        QCOMPARE(list.HeaderText(1), QStringLiteral("▼行"));
        QCOMPARE(Column(list, 1), QStringList({"9", "2", "10"}));
        // Another column takes the mark and inverts the previous order.
        list.ColumnClick(0);
        QCOMPARE(Headers(list),
                 QStringList({"▲ﾌｧｲﾙ名", "行", "ﾌﾟﾛｼｰｼﾞｬ", "ｽｺｰﾌﾟ", "該当する内容"}));
        QCOMPARE(Column(list, 0), QStringList({"M10", "M2", "M9"}));
        // The run's resetting of the first header drops its mark.
        list.SetFirstHeader(QStringLiteral("ﾓｼﾞｭｰﾙ名"));
        QCOMPARE(list.FirstHeader(), QStringLiteral("ﾓｼﾞｭｰﾙ名"));
        list.ColumnClick(2);
        QCOMPARE(list.HeaderText(0), QStringLiteral("ﾓｼﾞｭｰﾙ名"));
        QCOMPARE(list.HeaderText(2), QStringLiteral("▼ﾌﾟﾛｼｰｼﾞｬ"));
    }

    void sortIgnoresLetterCaseAndKeepsTheSelectedRow() {
        ResultList list(0);
        list.AddRow(Hit("beta", 1));
        list.AddRow(Hit("Alpha", 2));
        list.AddRow(Hit("gamma", 3));
        list.SelectRow(2);
        list.ColumnClick(0);  // descending
        QCOMPARE(Column(list, 0), QStringList({"gamma", "beta", "Alpha"}));
        QCOMPARE(list.SelectedRow(), 0);
        QCOMPARE(list.CellText(list.SelectedRow(), 0), QStringLiteral("gamma"));
    }

    void sortedListPlacesNewRowsInOrder() {
        ResultList list(0);
        list.AddRow(Hit("b", 1));
        list.AddRow(Hit("d", 2));
        list.ColumnClick(0);
        list.ColumnClick(0);  // ascending
        list.Clear();
        QCOMPARE(list.HeaderText(0), QStringLiteral("▲ﾌｧｲﾙ名"));  // sort state stays
        for (const char* name : {"m", "c", "x", "a", "c"}) list.AddRow(Hit(name, 1));
        QCOMPARE(Column(list, 0), QStringList({"a", "c", "c", "m", "x"}));
        list.SelectRow(3);  // "m"
        list.AddRow(Hit("e", 1));
        list.AddRow(Hit("b", 1));
        // The selection follows its row as the new rows go in before it.
        QCOMPARE(list.CellText(list.SelectedRow(), 0), QStringLiteral("m"));
        QCOMPARE(Column(list, 0), QStringList({"a", "b", "c", "c", "e", "m", "x"}));
    }

    void sortAgreesWithAPlainStableSort() {
        // Keys with long shared beginnings, case variants, prefixes of each other and ties,
        // sorted by every column both ways, then more rows merged into the sorted list.
        std::mt19937 random(7);
        const std::string alphabet = "aAbB9 ";
        const auto text = [&](std::size_t maxLength) {
            std::string t = "Shared/Beginning/Of/Every/Key/";
            for (std::size_t n = random() % (maxLength + 1); n > 0; --n) {
                t += alphabet[random() % alphabet.size()];
            }
            return t;
        };
        const auto folded = [](QString t) { return t.toLower().toStdString(); };
        ResultList list(0);
        for (int i = 0; i < 3000; ++i) {
            list.AddRow(Hit(text(12), random() % 2000, text(3), text(20), text(6)));
        }
        for (int click = 0; click < 10; ++click) {
            const int column = static_cast<int>(random() % 5);
            QStringList before;
            for (int r = 0; r < list.RowCount(); ++r) {
                before << list.CellText(r, 0) + "|" + list.CellText(r, 1) + "|" +
                              list.CellText(r, column);
            }
            std::vector<int> expected(before.size());
            std::iota(expected.begin(), expected.end(), 0);
            const bool descending = list.Model().SortOrder() == Qt::AscendingOrder;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const std::string ka = folded(before[a].section('|', 2));
                const std::string kb = folded(before[b].section('|', 2));
                return descending ? kb < ka : ka < kb;
            });
            list.ColumnClick(column);
            for (int r = 0; r < list.RowCount(); ++r) {
                const QString row = list.CellText(r, 0) + "|" + list.CellText(r, 1) + "|" +
                                    list.CellText(r, column);
                QCOMPARE(row, before[expected[r]]);
            }
        }
        for (int i = 0; i < 500; ++i) list.AddRow(Hit(text(12), i, "", "", text(6)));
        list.Model().Flush();
        QCOMPARE(list.RowCount(), 3500);
        const int key = list.Model().SortKey();
        const bool ascending = list.Model().SortOrder() == Qt::AscendingOrder;
        for (int r = 1; r < list.RowCount(); ++r) {
            const std::string a = folded(list.CellText(r - 1, key));
            const std::string b = folded(list.CellText(r, key));
            QVERIFY2(ascending ? a <= b : b <= a, qPrintable(QString::number(r)));
        }
    }

    void hidingRowsWalksDownTheList() {
        ResultList list(0);
        for (int line = 1; line <= 3; ++line) list.AddRow(Hit("M", line));
        list.DeleteSelectedRow();  // nothing selected: nothing happens
        QCOMPARE(list.RowCount(), 3);
        list.SelectRow(1);
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(Column(list, 1), QStringList({"1", "3"}));
        QCOMPARE(list.SelectedRow(), 1);
        list.DeleteSelectedRow();
        QCOMPARE(list.SelectedRow(), 0);
        list.DeleteSelectedRow();
        QCOMPARE(list.RowCount(), 0);
        QCOMPARE(list.SelectedRow(), -1);
    }

    void clearKeepsHeadersAndWidths() {
        ResultList list(0);
        list.AddRow(Hit("Module1", 1));
        list.FitColumnWidths();
        list.ColumnClick(3);
        const int width = list.ColumnWidthTwips(0);
        list.PopupMenu()->actions().at(2)->trigger();  // 検索結果をクリア(&N)
        QCOMPARE(list.RowCount(), 0);
        QCOMPARE(list.HeaderText(3), QStringLiteral("▼ｽｺｰﾌﾟ"));
        QCOMPARE(list.ColumnWidthTwips(0), width);
    }

    void copyPutsOnlyTheLineText() {
        ResultList list(0);
        list.AddRow(Hit("Module1", 7, "Call Foo(1)"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        list.CopyToClipboard();  // nothing selected: clipboard untouched
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        list.SelectRow(0);
        list.PopupMenu()->actions().at(0)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Call Foo(1)"));
    }

    void popupNeedsASelectedRow() {
        ResultList list(4);
        list.AddRow(Hit("Module1", 1));
        list.show();
        QVERIFY(!list.ShowPopup(QPoint(10, 10)));
        QVERIFY(!list.PopupMenu()->isVisible());
        list.SelectRow(0);
        QVERIFY(list.ShowPopup(QPoint(10, 10)));
        QVERIFY(list.PopupMenu()->isVisible());
        QStringList captions;
        QStringList names;
        for (QAction* action : list.PopupMenu()->actions()) {
            captions << action->text();
            names << action->objectName();
        }
        list.PopupMenu()->hide();
        QCOMPARE(captions, QStringList({"クリップボードにコピー(&C)", "この項目を表示しない(&H)",
                                        "検索結果をクリア(&N)", "検索結果をExcelへ出力(&X)"}));
        QCOMPARE(names, QStringList({"mnuCopyToClipboard", "mnuDeleteItem", "mnuClearList",
                                     "mnuResultExcel"}));
        QCOMPARE(list.PopupMenu()->title(), QStringLiteral("ポップアップメニュー"));
        QSignalSpy exports(&list, &ResultList::ExportRequested);
        list.PopupMenu()->actions().at(3)->trigger();
        QCOMPARE(exports.count(), 1);
        QCOMPARE(exports.at(0).at(0).toInt(), 4);
    }

    void rightClickOpensTheMenuOnlyWithASelectedRow() {
        ResultList list(1);
        list.AddRow(Hit("Module1", 1, "first"));
        list.AddRow(Hit("Module1", 2, "second"));
        list.resize(600, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::processEvents();
        const QRect first = list.visualRect(list.Model().index(0, 0));
        const QRect second = list.visualRect(list.Model().index(1, 0));
        QVERIFY(first.isValid() && second.isValid());

        // No row selected: nothing is selected by the click and no menu appears.
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, second.center());
        QVERIFY(!list.PopupMenu()->isVisible());
        QCOMPARE(list.SelectedRow(), -1);
        QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, second.center());

        // With a selected row the menu appears, for the row under the mouse.
        list.SelectRow(0);
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, second.center());
        QVERIFY(list.PopupMenu()->isVisible());
        QCOMPARE(list.SelectedRow(), 1);
        list.PopupMenu()->hide();
    }

    void keysAndClicksReachTheirHandlers() {
        ResultList list(2);
        list.AddRow(Hit("Module1", 1, "first"));
        list.AddRow(Hit("Module1", 2, "second"));
        list.resize(600, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy jumps(&list, &ResultList::JumpRequested);
        QSignalSpy clicks(&list, &ResultList::RowClicked);
        QTest::keyClick(&list, Qt::Key_Return);
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(jumps.count(), 0);  // no selected row
        list.SelectRow(1);
        QTest::keyClick(&list, Qt::Key_Return);
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(jumps.count(), 2);
        QCOMPARE(jumps.at(0).at(0).toInt(), 2);
        QCoreApplication::processEvents();
        const QRect cell = list.visualRect(list.Model().index(0, 0));
        QVERIFY2(cell.isValid(), "row 0 is laid out");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), QStringLiteral("first"));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(jumps.count(), 3);
    }

    void textWidthsFollowTheCharactersOfTheUtf8() {
        ResultList list(0);
        const QFontMetricsF metrics(list.font(), &list);
        const double perPixel = 1440.0 / list.logicalDpiX();
        const auto twips = [&](const QString& text) {
            double pixels = 0;
            for (char32_t code : text.toUcs4()) {
                pixels += metrics.horizontalAdvance(QString::fromUcs4(&code, 1));
            }
            return pixels * perPixel;
        };
        const QString mixed = QString::fromUtf8("x = \"在庫\" ' \xF0\x9F\x93\xA6 ok");
        QCOMPARE(list.TextWidthTwips(std::string_view("x = \"在庫\" ' \xF0\x9F\x93\xA6 ok")),
                 twips(mixed));
        // A byte that is not UTF-8 counts as the replacement character, and the text after it
        // is measured as usual.
        QCOMPARE(list.TextWidthTwips(std::string_view("a\xFF"
                                                      "b")),
                 twips(QString::fromUtf8("a\uFFFDb")));
        QCOMPARE(list.TextWidthTwips(std::string_view("\xE5\x9C")),
                 twips(QString::fromUtf8("\uFFFD\uFFFD")));
    }

    void aColumnIsNotFittedWiderThanTheScreen() {
        ResultList list(0);
        const double limit = list.FitLimitTwips();
        QVERIFY(limit > 1000 && limit < 1e6);
        // A binary file's line: far wider than any screen, measured only up to the limit.
        const std::string binary(20000, 'W');
        const double measured = list.TextWidthTwips(binary, limit);
        QVERIFY(measured > limit);
        QVERIFY(measured < list.TextWidthTwips(binary) / 10);
        list.AddRow(Hit("M", 1, binary));
        list.FitColumnWidths();
        const int atLimit = static_cast<int>(std::ceil(limit)) + ResultList::kFitMarginTwips;
        QCOMPARE(list.ColumnWidthTwips(4), atLimit);
        // Later rows, longer still, leave it there; a short one does not narrow it.
        list.AddRow(Hit("M", 2, binary + binary));
        list.AddRow(Hit("M", 3, "x"));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(4), atLimit);
        QCOMPARE(list.ColumnWidthTwips(0), Fitted(list, 0, "M"));
    }

    void fitColumnWidthsInTwips() {
        ResultList list(0);
        QCOMPARE(list.ColumnWidthTwips(2), 21600);
        list.AddRow(Hit("Module1", 120, "Dim wide_variable_name As String", "", "Private"));
        list.FitColumnWidths();
        // The first row sets every column, shrinking the design widths; an empty text gives
        // the header's width.
        QCOMPARE(list.ColumnWidthTwips(0), Fitted(list, 0, "Module1"));
        QCOMPARE(list.ColumnWidthTwips(1), Fitted(list, 1, "120"));
        QCOMPARE(list.ColumnWidthTwips(2), list.HeaderWidthTwips(2));
        QVERIFY(list.HeaderWidthTwips(2) > 12);
        QCOMPARE(list.ColumnWidthTwips(3), Fitted(list, 3, "Private"));
        const int pixels =
            static_cast<int>(std::lround(list.ColumnWidthTwips(0) * list.logicalDpiX() / 1440.0));
        QCOMPARE(list.columnWidth(0), pixels + list.CellMarginPixels());
        // The text is drawn whole, not elided.
        list.resize(2000, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.Model().Flush();
        const QModelIndex cell = list.Model().index(0, 0);
        QStyleOptionViewItem option;
        option.initFrom(list.viewport());
        option.font = list.font();
        option.rect = list.visualRect(cell);
        QVERIFY(list.itemDelegate()->sizeHint(option, cell).width() <= list.columnWidth(0) + 1);
        // Later rows only widen.
        list.AddRow(Hit("M", 1, "x", "LongProcedureName_全角", ""));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(0), Fitted(list, 0, "Module1"));
        QCOMPARE(list.ColumnWidthTwips(2), Fitted(list, 2, "LongProcedureName_全角"));
        QCOMPARE(list.ColumnWidthTwips(4), Fitted(list, 4, "Dim wide_variable_name As String"));
        // The first row of the next search sets them afresh.
        list.Clear();
        list.AddRow(Hit("M", 1, "y", "P", ""));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(0), Fitted(list, 0, "M"));
        QCOMPARE(list.ColumnWidthTwips(2), Fitted(list, 2, "P"));
        QCOMPARE(list.ColumnWidthTwips(4), Fitted(list, 4, "y"));
        // After a font change the same texts are measured in the new font.
        const int smallWidth = list.ColumnWidthTwips(0);
        QFont larger = list.font();
        larger.setPointSizeF(larger.pointSizeF() * 2);
        list.SetListFont(larger);
        list.AddRow(Hit("M", 1, "y", "P", ""));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(0), Fitted(list, 0, "M"));
        QCOMPARE(list.ColumnWidthTwips(4), Fitted(list, 4, "y"));
        QVERIFY(list.ColumnWidthTwips(0) > smallWidth);
    }

    void fitComparesWithTheWidthTheUserLeft() {
        ResultList list(0);
        const QString longText = QStringLiteral("Dim wide_variable_name As String ' 全角の説明");
        list.AddRow(Hit("Module1", 1, longText.toStdString()));
        list.FitColumnWidths();
        const int fitted = list.ColumnWidthTwips(4);
        QCOMPARE(fitted, Fitted(list, 4, longText));
        // The user drags the column narrower; the next row with the same text widens it again.
        list.header()->resizeSection(4, 40);
        QVERIFY(list.ColumnWidthTwips(4) < fitted);
        list.AddRow(Hit("Module1", 2, longText.toStdString()));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(4), fitted);
        QCOMPARE(list.columnWidth(4),
                 static_cast<int>(std::lround(fitted * list.logicalDpiX() / 1440.0)) +
                     list.CellMarginPixels());
        // A column dragged wider than its text stays as the user left it.
        list.header()->resizeSection(0, 600);
        const int wide = list.ColumnWidthTwips(0);
        list.AddRow(Hit("Module2", 3));
        list.FitColumnWidths();
        QCOMPARE(list.ColumnWidthTwips(0), wide);
        QCOMPARE(list.columnWidth(0), 600);
    }

    void rowsAddedBetweenFitsAreFittedAsOneByOne() {
        // Fitted after each row, and fitted once after all of them: the same widths.
        const std::vector<ResultRow> rows = {
            Hit("Module1", 7, "short"), Hit("Module1", 12, "a longer line of text", "P"),
            Hit("M", 100, "mid", "AVeryLongProcedureName", "Private"), Hit("Module1", 3, "x")};
        ResultList oneByOne(0);
        ResultList batched(1);
        for (const ResultRow& row : rows) {
            oneByOne.AddRow(row);
            oneByOne.FitColumnWidths();
            batched.AddRow(row);
        }
        batched.FitColumnWidths();
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(batched.ColumnWidthTwips(c), oneByOne.ColumnWidthTwips(c));
        }
        QCOMPARE(batched.ColumnWidthTwips(4), Fitted(batched, 4, "a longer line of text"));
        // A fit out of time leaves its rows to the next one.
        batched.Clear();
        for (int i = 0; i < 300; ++i) batched.AddRow(Hit("M", i, std::string(i / 10, 'w')));
        batched.FitColumnWidths(QDeadlineTimer(0));
        QVERIFY(batched.ColumnWidthTwips(4) < Fitted(batched, 4, QString(29, 'w')));
        batched.FitColumnWidths();
        QCOMPARE(batched.ColumnWidthTwips(4), Fitted(batched, 4, QString(29, 'w')));
    }

    void headerOfAVeryWideColumnShowsWhatAPlainHeaderShows() {
        QStandardItemModel model(1, 5);
        for (int c = 0; c < 5; ++c) model.setHeaderData(c, Qt::Horizontal, QString("Col%1").arg(c));
        // Captions as the list aligns them, and a centred one on a wide section.
        for (int c : {0, 2}) {
            model.setHeaderData(c, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter),
                                Qt::TextAlignmentRole);
        }
        model.setHeaderData(1, Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                            Qt::TextAlignmentRole);
        QHeaderView plain(Qt::Horizontal);
        trawlex::window::ResultHeader cut;
        const std::array<int, 5> widths = {120, 60, 90000, 50, 90000};
        for (QHeaderView* header : {&plain, static_cast<QHeaderView*>(&cut)}) {
            header->setModel(&model);
            header->resize(700, 30);
            for (int c = 0; c < 5; ++c) header->resizeSection(c, widths[c]);
        }
        // At the start, inside the wide sections, and across the end of the first.
        for (int offset : {0, 45000, 89800, 135000, 179000}) {
            plain.setOffset(offset);
            cut.setOffset(offset);
            const QImage a = cut.grab().toImage();
            const QImage b = plain.grab().toImage();
            QCOMPARE(a, b);
        }
        // Only what can show is handed to the style.
        const QRect wide(-45000, 0, 90000, 30);
        const QRect part = trawlex::window::ResultHeader::PaintedPart(wide, 700);
        QVERIFY(part.width() < 700 + 3 * trawlex::window::ResultHeader::kMarginPixels);
        QVERIFY(part.contains(QRect(0, 0, 700, 30)));
        QCOMPARE(trawlex::window::ResultHeader::PaintedPart(QRect(10, 0, 90, 30), 700),
                 QRect(10, 0, 90, 30));
        QVERIFY(qobject_cast<trawlex::window::ResultHeader*>(ResultList(0).header()));
    }

    void resultFontFollowsTheSettings() {
        trawlex::host::fake::FakeHost vb6(trawlex::host::fake::HostFlavour::VisualBasic6);
        trawlex::host::fake::FakeHost office(trawlex::host::fake::HostFlavour::OfficeEditor);
        ResultList first(0);
        ResultList second(1);
        QFont windowFont(QStringLiteral("DejaVu Sans"), 9);

        // Neither option: the lists still get the window's font.
        trawlex::window::SetFont(windowFont, &vb6, {&first, &second});
        QCOMPARE(windowFont.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(second.font().pointSizeF(), 9.0);
        QCOMPARE(second.font().family(), QStringLiteral("DejaVu Sans"));

        // Option 2 without a name or size leaves the font as it was; with them, uses them.
        QVERIFY(trawlex::window::WriteSetting(QStringLiteral("optFont(2)"), QStringLiteral("True"))
                    .ok());
        trawlex::window::SetFont(windowFont, &vb6, {&first});
        QCOMPARE(windowFont.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(windowFont.pointSizeF(), 9.0);
        QVERIFY(
            trawlex::window::WriteSetting(QStringLiteral("FontName"), QStringLiteral("Noto Sans"))
                .ok());
        QVERIFY(
            trawlex::window::WriteSetting(QStringLiteral("FontSize"), QStringLiteral("14")).ok());
        trawlex::window::SetFont(windowFont, &vb6, {&first});
        QCOMPARE(windowFont.family(), QStringLiteral("Noto Sans"));
        QCOMPARE(first.font().pointSizeF(), 14.0);

        // Option 1 reads the editor font of the host's flavour; a missing face keeps the name.
        QVERIFY(trawlex::window::WriteSetting(QStringLiteral("optFont(1)"), QStringLiteral("True"))
                    .ok());
        QVERIFY(trawlex::platform::RegWrite(
            "HKCU\\Software\\Microsoft\\VBA\\Microsoft Visual Basic\\FontHeight", "11",
            "REG_DWORD"));
        QVERIFY(trawlex::platform::RegWrite("HKCU\\Software\\Microsoft\\VBA\\6.0\\Common\\FontFace",
                                            "DejaVu Sans Mono"));
        QVERIFY(trawlex::platform::RegWrite(
            "HKCU\\Software\\Microsoft\\VBA\\6.0\\Common\\FontHeight", "10", "REG_DWORD"));
        trawlex::window::SetFont(windowFont, &vb6, {&first});
        QCOMPARE(windowFont.family(), QStringLiteral("Noto Sans"));
        QCOMPARE(windowFont.pointSizeF(), 11.0);
        trawlex::window::SetFont(windowFont, &office, {&first});
        QCOMPARE(windowFont.family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(first.font().pointSizeF(), 10.0);
        QCOMPARE(first.font().family(), QStringLiteral("DejaVu Sans Mono"));
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(ResultListTest)
#include "result_list_test.moc"
