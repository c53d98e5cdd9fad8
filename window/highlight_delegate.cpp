#include "window/highlight_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "search/row_spans.h"
#include "window/result_table_model.h"

namespace trawlex::window {

QColor HighlightDelegate::MatchBackground() {
    return QColor(0xFF, 0xE6, 0x80);  // a soft amber, apart from the selection's blue
}

QColor HighlightDelegate::MatchText() {
    return QColor(0x20, 0x20, 0x20);
}

HighlightDelegate::HighlightDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void HighlightDelegate::SetSearch(std::string search, MatchOptions options, RegionSet wanted) {
    search_ = std::move(search);
    options_ = options;
    wanted_ = wanted;
}

QList<QPair<int, int>> HighlightDelegate::MatchRanges(const ResultRowView& row) const {
    QList<QPair<int, int>> ranges;
    if (search_.empty()) return ranges;
    const std::vector<MatchSpan> spans = RowMatchSpans(spans_, row, search_, options_, wanted_);
    if (spans.empty()) return ranges;
    // UTF-8 byte offsets to UTF-16 positions, walking the text once.
    const std::string_view line = row.content;
    std::size_t byte = 0;
    int unit = 0;
    const auto unitAt = [&](std::size_t target) {
        while (byte < target && byte < line.size()) {
            const auto lead = static_cast<unsigned char>(line[byte]);
            const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            byte += static_cast<std::size_t>(length);
            unit += length == 4 ? 2 : 1;
        }
        return unit;
    };
    for (const MatchSpan& span : spans) {
        const int begin = unitAt(span.begin);
        ranges.append({begin, unitAt(span.end)});
    }
    return ranges;
}

QList<QPair<int, int>> HighlightDelegate::MatchRanges(const QModelIndex& index,
                                                      const QString& text) const {
    if (const auto* model = qobject_cast<const ResultTableModel*>(index.model())) {
        if (const ResultRow* row = model->ShownRow(index.row())) return MatchRanges(*row);
    }
    const QByteArray utf8 = text.toUtf8();
    return MatchRanges(ResultRowView(
        {}, 0, {}, {}, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

void HighlightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    const QList<QPair<int, int>> ranges = MatchRanges(index, text);
    if (ranges.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The row's background and selection as the style draws them, without the text.
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
            .adjusted(style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1, 0, 0, 0);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor plainColour =
        opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                          selected ? QPalette::HighlightedText : QPalette::Text);
    QFont bold = opt.font;
    bold.setBold(true);
    const QFontMetrics plainMetrics(opt.font);
    const QFontMetrics boldMetrics(bold);

    painter->save();
    painter->setClipRect(textRect);
    int x = textRect.left();
    int shown = 0;
    const auto drawPart = [&](int begin, int end, bool match) {
        if (end <= begin || x > textRect.right()) return;
        const QString part = text.mid(begin, end - begin);
        const QFontMetrics& metrics = match ? boldMetrics : plainMetrics;
        const int width = metrics.horizontalAdvance(part);
        const QRect box(x, textRect.top(), width, textRect.height());
        if (match) painter->fillRect(box.adjusted(0, 1, 0, -1), MatchBackground());
        painter->setFont(match ? bold : opt.font);
        painter->setPen(match ? MatchText() : plainColour);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
        x += width;
    };
    for (const auto& [begin, end] : ranges) {
        if (begin < shown) continue;
        drawPart(shown, begin, false);
        drawPart(begin, end, true);
        shown = end;
    }
    drawPart(shown, static_cast<int>(text.size()), false);
    painter->restore();
}

}  // namespace trawlex::window
