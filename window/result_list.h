#pragma once
// One result list `lvwGrep`(index): a report view over a ResultTableModel with the
// column fitting in twips, header-click sorting, the row popup menu and its keys.

#include <QDeadlineTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QTreeView>
#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_types.h"
#include "search/vb_code_regions.h"
#include "window/result_table_model.h"
#include "window/twips.h"

class QMenu;
class QAction;

namespace trawlex::window {

class ResultList : public QTreeView {
    Q_OBJECT
  public:
    static constexpr int kFitMarginTwips = 12;

    explicit ResultList(int index, QWidget* parent = nullptr);

    int Index() const { return index_; }
    ResultTableModel& Model() { return model_; }
    const ResultTableModel& Model() const { return model_; }

    // Rows.
    void AddRow(ResultRow row);
    void Clear();
    // All rows, also those the filter hides; Row(i) counts only the rows shown.
    int RowCount() const { return model_.RowCount(); }
    int ShownRowCount() const { return model_.ShownRowCount(); }
    const ResultRow& Row(int row) const { return model_.Row(row); }

    // The matched parts of the 該当する内容 column are drawn for this search, those in the
    // `wanted` regions.
    void SetHighlight(std::string search, MatchOptions options, RegionSet wanted = kAllRegions);
    QString CellText(int row, int column) const { return model_.CellText(row, column); }

    // Headers: column 0 is set to "ﾓｼﾞｭｰﾙ名" or "ﾌｧｲﾙ名" by each search.
    void SetFirstHeader(const QString& text) { model_.SetHeaderText(0, text); }
    QString FirstHeader() const { return model_.HeaderText(0); }
    QString HeaderText(int column) const { return model_.HeaderText(column); }

    // Fits the columns to the rows added since the last fit, as fitting after each of them
    // would: the first row of a list sets them exactly, later rows widen a column narrower
    // than their text (as wide as the user left it, too). No column gets narrower than its
    // header's caption, nor is fitted wider than the screen (FitLimitTwips). Rows not
    // measured by the deadline are left to the next fit.
    void FitColumnWidths(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    // What the header's caption of a column needs, in the twips of ColumnWidthTwips.
    int HeaderWidthTwips(int column) const;
    int ColumnWidthTwips(int column) const {
        return column >= 0 && column < ResultTableModel::kColumnCount ? widthsTwips_[column] : 0;
    }
    void SetColumnWidthTwips(int column, int twips);
    // What the style draws around a cell's text; added to every column's pixel width so
    // that a column as wide as its text shows the text whole.
    int CellMarginPixels() const;
    // Text width in twips, as drawn in the list's font. Measuring stops once the width is
    // past `limitTwips`: a longer text gives a width just past it.
    double TextWidthTwips(std::string_view utf8,
                          double limitTwips = std::numeric_limits<double>::infinity());
    // The widest a column is fitted: the width of the screen the list is on.
    double FitLimitTwips() const;
    double TextWidthTwips(const QString& text);

    // Selection: -1 when no row is selected.
    int SelectedRow() const;
    void SelectRow(int row);

    void SetListFont(const QFont& font);

    // Commands of the popup menu and the header.
    void ColumnClick(int column);
    void CopyToClipboard();
    void DeleteSelectedRow();
    // Shows `mgPopup` at a global position when a row is selected; returns whether it did.
    bool ShowPopup(const QPoint& globalPos);
    QMenu* PopupMenu() const { return popup_; }

  signals:
    // Double click, Enter or Space on a selected row.
    void JumpRequested(int index);
    // A row was clicked: its column 5 text, for the status line.
    void RowClicked(const QString& content);
    // "検索結果をExcelへ出力(&X)" chosen.
    void ExportRequested(int index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void UpdateMetrics();
    // A character's advance in pixels, cached for the characters of the BMP.
    double Advance(char32_t code);
    void BuildPopupMenu();

    int index_;
    ResultTableModel model_;
    std::array<std::string, ResultTableModel::kColumnCount> lastFitted_;  // texts last measured
    std::size_t fittedRows_ = 0;  // stored rows the columns were fitted to
    std::array<int, ResultTableModel::kColumnCount> widthsTwips_{};
    QFontMetricsF metrics_;
    double twipsPerPixel_ = kDesignTwipsPerPixel;
    std::vector<float> advancePixels_;  // per BMP character, negative until measured
    QMenu* popup_ = nullptr;
    class HighlightDelegate* highlight_ = nullptr;
    bool settingWidth_ = false;  // the fit itself is resizing a column
};

}  // namespace trawlex::window
