#pragma once
// Draws a result's line with the parts that matched the search in bold on a soft colour,
// in the list's own font, readable on a selected row as well.

#include <QStyledItemDelegate>
#include <string>

#include "search/match_spans.h"
#include "search/search_types.h"

namespace trawlex::window {

class HighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The soft colour behind a matched part, and the text colour on it.
    static QColor MatchBackground();
    static QColor MatchText();

    explicit HighlightDelegate(QObject* parent = nullptr);

    // The search whose matches are drawn; an empty search draws plain text.
    void SetSearch(std::string search, MatchOptions options);
    const std::string& Search() const { return search_; }

    // The matched parts of `text` as UTF-16 ranges [begin, end) of the QString.
    QList<QPair<int, int>> MatchRanges(const QString& text) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    std::string search_;
    MatchOptions options_;
    mutable SpanFinder spans_;
};

}  // namespace trawlex::window
