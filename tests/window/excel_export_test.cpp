// The spreadsheet export: the workbook written for a result list, read back from the .xlsx
// (a zip of XML parts, unpacked with unzip), and its hand-over to the desktop's opener.

#include "window/excel_export.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "recording_program.h"
#include "window/message_box.h"
#include "window/result_list.h"

using trawlex::window::ExportSheetName;
using trawlex::window::ResultList;

namespace {

QByteArray ZipPart(const QString& xlsx, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, part});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) return {};
    return unzip.readAllStandardOutput();
}

struct Sheet {
    QString name;
    QMap<QString, QString> cells;  // "B1" -> text
    QStringList numberCells;       // cells holding a number, not a text
    QMap<int, double> widths;      // 1-based column -> width
    int sheetCount = 0;
};

Sheet ReadSheet(const QString& xlsx) {
    Sheet sheet;
    QXmlStreamReader book(ZipPart(xlsx, "xl/workbook.xml"));
    while (!book.atEnd()) {
        if (book.readNext() == QXmlStreamReader::StartElement && book.name() == u"sheet") {
            ++sheet.sheetCount;
            sheet.name = book.attributes().value("name").toString();
        }
    }
    QStringList shared;
    QXmlStreamReader strings(ZipPart(xlsx, "xl/sharedStrings.xml"));
    while (!strings.atEnd()) {
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t") {
            shared << strings.readElementText();
        }
    }
    QXmlStreamReader cells(ZipPart(xlsx, "xl/worksheets/sheet1.xml"));
    QString ref;
    bool sharedText = false;
    while (!cells.atEnd()) {
        if (cells.readNext() != QXmlStreamReader::StartElement) continue;
        if (cells.name() == u"col") {
            const int min = cells.attributes().value("min").toInt();
            const int max = cells.attributes().value("max").toInt();
            for (int c = min; c <= max; ++c) {
                sheet.widths[c] = cells.attributes().value("width").toDouble();
            }
        } else if (cells.name() == u"c") {
            ref = cells.attributes().value("r").toString();
            sharedText = cells.attributes().value("t") == u"s";
        } else if (cells.name() == u"v") {
            const QString value = cells.readElementText();
            sheet.cells[ref] = sharedText ? shared.value(value.toInt()) : value;
            if (!sharedText) sheet.numberCells << ref;
        }
    }
    return sheet;
}

void Fill(ResultList& list) {
    list.SetFirstHeader(QStringLiteral("ﾌｧｲﾙ名"));
    list.AddRow({"/src/Module1.bas", 9, "Main", "Public", "Call Foo ' 全角テキスト"});
    list.AddRow({"/src/Form1.frm", 10, "(Declarations)", "", "Dim x As <Long> & \"y\""});
    list.AddRow({"/src/Class1.cls", 2, "", "", "x"});
}

}  // namespace

class ExcelExportTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
        QVERIFY2(QProcess::execute("unzip", {"-v"}) == 0, "unzip is needed to read the workbook");
    }

    void sheetNames() {
        QCOMPARE(ExportSheetName(0), QStringLiteral("検索１"));
        QCOMPARE(ExportSheetName(2), QStringLiteral("検索３"));
        QCOMPARE(ExportSheetName(8), QStringLiteral("検索９"));
    }

    void widthEstimate() {
        using trawlex::window::EstimateColumnWidth;
        QCOMPARE(EstimateColumnWidth(QStringLiteral("abc")), 3.0);
        QCOMPARE(EstimateColumnWidth(QStringLiteral("全角ab")), 6.0);
        QCOMPARE(EstimateColumnWidth(QStringLiteral("ﾌｧｲﾙ")), 4.0);  // half-width kana
        QCOMPARE(EstimateColumnWidth(QStringLiteral("▼行")), 4.0);
        QCOMPARE(EstimateColumnWidth(QString()), 0.0);
    }

    void workbookHoldsHeadersAndRowsInListOrder() {
        ResultList list(2);
        Fill(list);
        list.ColumnClick(1);  // by line, descending, as text: "9", "2", "10"
        QTemporaryDir out;
        const QString path = out.filePath("out.xlsx");
        QVERIFY(trawlex::window::WriteResultWorkbook(path, list, 2));
        const Sheet sheet = ReadSheet(path);
        QCOMPARE(sheet.sheetCount, 1);
        QCOMPARE(sheet.name, QStringLiteral("検索３"));
        QCOMPARE(sheet.cells.value("A1"), QStringLiteral("ﾌｧｲﾙ名"));
        QCOMPARE(sheet.cells.value("B1"), QStringLiteral("▼行"));
        QCOMPARE(sheet.cells.value("E1"), QStringLiteral("該当する内容"));
        QCOMPARE(sheet.cells.value("A2"), QStringLiteral("/src/Module1.bas"));
        QCOMPARE(sheet.cells.value("B2"), QStringLiteral("9"));
        // Line numbers are numbers; every other cell, the header "▼行" too, is text.
        QCOMPARE(sheet.numberCells, QStringList({"B2", "B3", "B4"}));
        QCOMPARE(sheet.cells.value("B4"), QStringLiteral("10"));
        QCOMPARE(sheet.cells.value("E2"), QStringLiteral("Call Foo ' 全角テキスト"));
        QCOMPARE(sheet.cells.value("A3"), QStringLiteral("/src/Class1.cls"));
        QCOMPARE(sheet.cells.value("A4"), QStringLiteral("/src/Form1.frm"));
        QCOMPARE(sheet.cells.value("C4"), QStringLiteral("(Declarations)"));
        QCOMPARE(sheet.cells.value("E4"), QStringLiteral("Dim x As <Long> & \"y\""));
        QVERIFY(!sheet.cells.contains("A5"));
        QVERIFY(!sheet.cells.contains("D4"));  // empty texts leave empty cells
        // Columns fit their longest text (plus the file format's own padding of under one
        // character); wide characters count double.
        const auto fits = [&](int column, double chars) {
            const double width = sheet.widths.value(column);
            return width >= chars && width < chars + 2;
        };
        QVERIFY(fits(1, 17));  // "/src/Module1.bas" and one to spare
        QVERIFY(fits(2, 5));   // "▼行"
        QVERIFY(fits(3, 15));  // "(Declarations)"
        QVERIFY(fits(5, 24));  // "Call Foo ' " and six wide characters: 23
    }

    void emptyListGivesOnlyTheHeaderRow() {
        ResultList list(0);
        QTemporaryDir out;
        QVERIFY(trawlex::window::WriteResultWorkbook(out.filePath("e.xlsx"), list, 0));
        const Sheet sheet = ReadSheet(out.filePath("e.xlsx"));
        QCOMPARE(sheet.name, QStringLiteral("検索１"));
        QCOMPARE(sheet.cells.size(), 5);
        QCOMPARE(sheet.cells.value("C1"), QStringLiteral("ﾌﾟﾛｼｰｼﾞｬ"));
        QVERIFY(!trawlex::window::WriteResultWorkbook(out.filePath("bad.xlsx"), list, 9));
        QVERIFY(!trawlex::window::WriteResultWorkbook("/nonexistent/dir/x.xlsx", list, 0));
    }

    void exportOpensTheWorkbookAndLeavesIt() {
        ResultList list(4);
        Fill(list);
        trawlex::testing::RecordingProgram opener(QStringLiteral("xdg-open"));
        std::vector<trawlex::window::MessageBoxRequest> boxes;
        auto previous = trawlex::window::SetMessageBoxDisplay(
            [&](QWidget*, const trawlex::window::MessageBoxRequest& box) { boxes.push_back(box); });
        const auto path = trawlex::window::ExportToExcel(list, 4);
        trawlex::window::SetMessageBoxDisplay(previous);
        QVERIFY(boxes.empty());  // opened: nothing to tell
        QVERIFY(path);
        QVERIFY(path->startsWith(QDir::tempPath() + "/"));
        QVERIFY(path->endsWith(QStringLiteral("検索５.xlsx")));
        QCOMPARE(opener.Arguments(), QStringList({*path}));
        QCOMPARE(ReadSheet(*path).cells.value("A2"), QStringLiteral("/src/Module1.bas"));
        // A second export gets a file of its own.
        const auto second = trawlex::window::ExportToExcel(list, 4);
        QVERIFY(second);
        QVERIFY(*second != *path);
        QDir(QFileInfo(*path).path()).removeRecursively();
        QDir(QFileInfo(*second).path()).removeRecursively();
    }

    void noOpenerLeavesTheFile() {
        ResultList list(0);
        Fill(list);
        {
            QFile failing(QString::fromStdString(trawlex::platform::GetSystemDir()) + "/xdg-open");
            QVERIFY(failing.open(QIODevice::WriteOnly | QIODevice::Truncate));
            failing.write("#!/bin/sh\nexit 3\n");
            failing.close();
            failing.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        std::vector<trawlex::window::MessageBoxRequest> boxes;
        auto previous = trawlex::window::SetMessageBoxDisplay(
            [&](QWidget*, const trawlex::window::MessageBoxRequest& box) { boxes.push_back(box); });
        const auto path = trawlex::window::ExportToExcel(list, 0);
        trawlex::window::SetMessageBoxDisplay(previous);
        QFile::remove(QString::fromStdString(trawlex::platform::GetSystemDir()) + "/xdg-open");
        QVERIFY(path);
        QVERIFY(QFile::exists(*path));
        // The user learns where the workbook was written.
        QCOMPARE(boxes.size(), std::size_t{1});
        QVERIFY2(boxes[0].text.endsWith("\r\n" + *path), qPrintable(boxes[0].text));
        QCOMPARE(boxes[0].title, QStringLiteral("検索結果をExcel出力"));
        QCOMPARE(ReadSheet(*path).cells.value("E4"), QStringLiteral("x"));
        QDir(QFileInfo(*path).path()).removeRecursively();
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(ExcelExportTest)
#include "excel_export_test.moc"
