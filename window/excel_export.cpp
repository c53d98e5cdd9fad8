#include "window/excel_export.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <array>

#include "platform/shell.h"
#include "window/message_box.h"
#include "window/result_list.h"

namespace trawlex::window {

namespace {

constexpr int kColumns = ResultTableModel::kColumnCount;
constexpr int kLineColumn = 1;
const char* const kExportTitle = "検索結果をExcel出力";
constexpr double kMaxColumnWidth = 255.0;

bool IsWide(char16_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2460 && c <= 0x27BF) ||
           (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

// Closes the workbook on every path; the file is complete only when Close succeeded.
class Workbook {
  public:
    explicit Workbook(const QString& path) : book_(workbook_new(path.toUtf8().constData())) {}
    ~Workbook() {
        if (book_) workbook_close(book_);
    }
    lxw_workbook* get() const { return book_; }
    bool Close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        return error == LXW_NO_ERROR;
    }

  private:
    lxw_workbook* book_;
};

}  // namespace

QString ExportSheetName(int tab) {
    return QStringLiteral("検索") + QChar(static_cast<char16_t>(u'０' + tab + 1));
}

double EstimateColumnWidth(const QString& text) {
    double width = 0;
    for (const QChar c : text) {
        // A surrogate pair counts 1 + 1: characters beyond the BMP are drawn wide.
        width += IsWide(c.unicode()) ? 2 : 1;
    }
    return width;
}

bool WriteResultWorkbook(const QString& path, const ResultList& list, int tab) {
    if (tab < 0 || tab > 8) return false;
    Workbook book(path);
    if (!book.get()) return false;
    lxw_worksheet* sheet =
        workbook_add_worksheet(book.get(), ExportSheetName(tab).toUtf8().constData());
    if (!sheet) return false;

    std::array<double, kColumns> widths{};
    const auto write = [&](int row, int column, const QString& text) {
        widths[column] = std::max(widths[column], EstimateColumnWidth(text));
        if (text.isEmpty()) return true;
        return worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                      static_cast<lxw_col_t>(column), text.toUtf8().constData(),
                                      nullptr) == LXW_NO_ERROR;
    };
    for (int c = 0; c < kColumns; ++c) {
        if (!write(0, c, list.HeaderText(c))) return false;
    }
    const int rows = list.RowCount();
    for (int r = 0; r < rows; ++r) {
        const ResultRow& row = list.Row(r);
        for (int c = 0; c < kColumns; ++c) {
            if (c == kLineColumn) {
                widths[c] = std::max(widths[c], EstimateColumnWidth(QString::number(row.line)));
                if (worksheet_write_number(sheet, static_cast<lxw_row_t>(r + 1),
                                           static_cast<lxw_col_t>(c), static_cast<double>(row.line),
                                           nullptr) != LXW_NO_ERROR) {
                    return false;
                }
            } else if (!write(r + 1, c, ResultTableModel::CellText(row, c))) {
                return false;
            }
        }
    }
    for (int c = 0; c < kColumns; ++c) {
        const double width = std::min(widths[c] + 1, kMaxColumnWidth);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width,
                             nullptr);
    }
    return book.Close();
}

std::optional<QString> ExportToExcel(const ResultList& list, int tab, QWidget* owner) {
    const auto report = [owner](const QString& text, QMessageBox::Icon icon) {
        ShowMessageBox(owner, {text, QString::fromUtf8(kExportTitle), icon});
    };
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/trawlex-export-XXXXXX"));
    if (!folder.isValid()) {
        report(QStringLiteral("検索結果を書き出すフォルダを作れませんでした: ") + QDir::tempPath(),
               QMessageBox::Warning);
        return std::nullopt;
    }
    folder.setAutoRemove(false);  // the workbook is left for the user
    const QString path = folder.filePath(ExportSheetName(tab) + QStringLiteral(".xlsx"));
    if (!WriteResultWorkbook(path, list, tab)) {
        report(QStringLiteral("検索結果のブックを書き込めませんでした:\r\n") +
                   QDir::toNativeSeparators(path),
               QMessageBox::Warning);
        return std::nullopt;
    }
    // Without a spreadsheet program the file stays where it is: the user learns where.
    if (!platform::ShellExecuteOpen(path.toStdString())) {
        report(QStringLiteral("ブックを表計算ソフトで開けませんでした。\r\n"
                              "検索結果は次のファイルに書き出してあります:\r\n") +
                   QDir::toNativeSeparators(path),
               QMessageBox::Information);
    }
    return path;
}

}  // namespace trawlex::window
