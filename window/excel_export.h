#pragma once
// ExportToExcel: one result list as a spreadsheet workbook, opened in the desktop's
// spreadsheet application and left there for the user to save.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace trawlex::window {

class ResultList;

// "検索" + tab + 1 as one full-width digit ("検索１" … "検索９").
QString ExportSheetName(int tab);

// Column width in character units for a text: East Asian wide characters count 2.
double EstimateColumnWidth(const QString& text);

// Writes the workbook: one sheet named for `tab`, the header texts in row 1 and one row
// per list row below, columns fitted to their text. The line column holds numbers, the
// others text. False on any failure.
bool WriteResultWorkbook(const QString& path, const ResultList& list, int tab);

// Writes the list of `tab` into a fresh file under the temporary folder and opens it.
// The file's path, or nothing when it could not be written. When it cannot be opened, the
// file stays and a message box over `owner` tells the user where it was written; a file
// that could not be written is reported the same way.
std::optional<QString> ExportToExcel(const ResultList& list, int tab, QWidget* owner = nullptr);

}  // namespace trawlex::window
