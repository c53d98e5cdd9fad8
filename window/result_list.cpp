#include "window/result_list.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "window/twips.h"

namespace trawlex::window {

namespace {

constexpr int kDesignWidthsTwips[ResultTableModel::kColumnCount] = {1800, 1000, 21600, 21600, 8000};

}  // namespace

ResultList::ResultList(int index, QWidget* parent)
    : QTreeView(parent), index_(index), metrics_(font()) {
    setObjectName(QStringLiteral("lvwGrep"));
    setProperty("index", index);
    setModel(&model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ResultList::ColumnClick);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit RowClicked(model_.CellText(index.row(), 4));
    });
    UpdateMetrics();
    for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
        SetColumnWidthTwips(c, kDesignWidthsTwips[c]);
    }
    BuildPopupMenu();
}

void ResultList::BuildPopupMenu() {
    popup_ = new QMenu(QStringLiteral("ポップアップメニュー"), this);
    popup_->setObjectName(QStringLiteral("mgPopup"));
    const auto add = [this](const char* name, const char* caption, auto slot) {
        QAction* action = popup_->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, slot);
    };
    add("mnuCopyToClipboard", "クリップボードにコピー(&C)", [this] { CopyToClipboard(); });
    add("mnuDeleteItem", "この項目を表示しない(&H)", [this] { DeleteSelectedRow(); });
    add("mnuClearList", "検索結果をクリア(&N)", [this] { Clear(); });
    add("mnuResultExcel", "検索結果をExcelへ出力(&X)", [this] { emit ExportRequested(index_); });
}

void ResultList::AddRow(ResultRow row) {
    newest_ = row;
    model_.AddRow(std::move(row));
}

void ResultList::Clear() {
    model_.Clear();
}

void ResultList::UpdateMetrics() {
    metrics_ = QFontMetricsF(font(), this);
    const int dpi = logicalDpiX();
    twipsPerPixel_ = dpi > 0 ? static_cast<double>(kTwipsPerInch) / dpi : 15.0;
    // No character is drawn wider than this, fallback glyphs included.
    maxCharTwips_ = std::max(metrics_.maxWidth(), metrics_.height() * 1.5) * twipsPerPixel_;
    advanceTwips_.clear();
}

double ResultList::TextWidthTwips(const QString& text) const {
    return metrics_.horizontalAdvance(text) * twipsPerPixel_;
}

void ResultList::SetColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= ResultTableModel::kColumnCount) return;
    widthsTwips_[column] = twips;
    setColumnWidth(column, TwipsToPixelsX(*this, twips));
}

double ResultList::UpperBoundTwips(std::string_view utf8) {
    if (advanceTwips_.empty()) advanceTwips_.assign(0x10000, -1.0f);
    double sum = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += length;
        if (code >= 0x10000 || (code >= 0xD800 && code < 0xE000)) {
            sum += 2 * maxCharTwips_;  // two characters in UTF-16
            continue;
        }
        float& advance = advanceTwips_[code];
        if (advance < 0) {
            advance = static_cast<float>(
                metrics_.horizontalAdvance(QChar(static_cast<char16_t>(code))) * twipsPerPixel_);
        }
        sum += advance;
    }
    // Shaping (kerning, ligatures) moves a text's width by far less than this margin.
    return sum * 1.05 + 2 * twipsPerPixel_;
}

void ResultList::FitColumnWidths() {
    const int count = model_.RowCount();
    if (count == 0) return;
    const bool first = count == 1;
    for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
        char digits[24];
        const std::string_view text = ResultTableModel::CellView(newest_, c, digits);
        // Most texts are narrower than their column: a cheap bound settles those.
        if (!first && UpperBoundTwips(text) + kFitMarginTwips <= widthsTwips_[c]) continue;
        const double measured =
            TextWidthTwips(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        const int wanted = static_cast<int>(std::ceil(measured)) + kFitMarginTwips;
        if (first || wanted > widthsTwips_[c]) SetColumnWidthTwips(c, wanted);
    }
}

int ResultList::SelectedRow() const {
    if (!selectionModel()) return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ResultList::SelectRow(int row) {
    model_.Flush();
    if (row < 0 || row >= model_.rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model_.index(row, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void ResultList::SetListFont(const QFont& font) {
    setFont(font);
    UpdateMetrics();
}

void ResultList::ColumnClick(int column) {
    model_.ColumnClick(column);
}

void ResultList::CopyToClipboard() {
    const int row = SelectedRow();
    if (row < 0) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(model_.CellText(row, 4));
}

void ResultList::DeleteSelectedRow() {
    const int row = SelectedRow();
    if (row < 0) return;
    model_.RemoveRow(row);
    const int left = model_.RowCount();
    if (left == 0) {
        clearSelection();
        return;
    }
    SelectRow(std::min(row, left - 1));
}

bool ResultList::ShowPopup(const QPoint& globalPos) {
    if (SelectedRow() < 0) return false;
    popup_->popup(globalPos);
    return true;
}

void ResultList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (SelectedRow() >= 0) emit JumpRequested(index_);
            event->accept();
            return;
        case Qt::Key_Delete:
            DeleteSelectedRow();
            event->accept();
            return;
        default:
            QTreeView::keyPressEvent(event);
    }
}

void ResultList::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::RightButton) ShowPopup(event->globalPosition().toPoint());
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && SelectedRow() >= 0) emit JumpRequested(index_);
}

void ResultList::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange) UpdateMetrics();
}

}  // namespace trawlex::window
