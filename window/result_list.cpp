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
    // No character is drawn wider than this, fallback glyphs included; texts that could
    // not widen a column even at this width need no measuring.
    maxCharTwips_ = std::max(metrics_.maxWidth(), metrics_.height() * 1.5) * twipsPerPixel_;
}

double ResultList::TextWidthTwips(const QString& text) const {
    return metrics_.horizontalAdvance(text) * twipsPerPixel_;
}

void ResultList::SetColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= ResultTableModel::kColumnCount) return;
    widthsTwips_[column] = twips;
    setColumnWidth(column, TwipsToPixelsX(*this, twips));
}

void ResultList::FitColumnWidths() {
    const int count = model_.RowCount();
    if (count == 0) return;
    const bool first = count == 1;
    for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
        const QString text = ResultTableModel::CellText(newest_, c);
        if (!first && text.size() * maxCharTwips_ + kFitMarginTwips <= widthsTwips_[c]) {
            continue;
        }
        const int wanted = static_cast<int>(std::ceil(TextWidthTwips(text))) + kFitMarginTwips;
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
