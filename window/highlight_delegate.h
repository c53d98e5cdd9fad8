#pragma once
// Draws a result's line with the parts that matched the search in bold on a soft colour,
// in the list's own font, readable on a selected row as well. Only matches in the regions
// the search wanted (code, comment, string) are drawn so, as the rows' RowMatchSpans.

#include <QStyledItemDelegate>
#include <string>

#include "search/match_spans.h"
#include "search/search_types.h"
#include "search/vb_code_regions.h"

namespace trawlex::window {

class HighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The soft colour behind a matched part, and the text colour on it.
    static QColor MatchBackground();
    static QColor MatchText();

    explicit HighlightDelegate(QObject* parent = nullptr);

    // The search whose matches are drawn, and where they must lie; an empty search draws
    // plain text.
    void SetSearch(std::string search, MatchOptions options, RegionSet wanted = kAllRegions);
    const std::string& Search() const { return search_; }

    // The matched parts of the row's content as UTF-16 ranges [begin, end) of its QString.
    QList<QPair<int, int>> MatchRanges(const ResultRowView& row) const;
    // The same for a cell of the list: its row where the model is a ResultTableModel, else
    // `text` as a line of its own.
    QList<QPair<int, int>> MatchRanges(const QModelIndex& index, const QString& text) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    std::string search_;
    MatchOptions options_;
    RegionSet wanted_ = kAllRegions;
    mutable SpanFinder spans_;
};

}  // namespace trawlex::window
