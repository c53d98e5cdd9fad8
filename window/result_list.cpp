#include "window/result_list.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>

#include "base/utf8_codec.h"
#include "window/highlight_delegate.h"
#include "window/result_header.h"
#include "window/twips.h"

namespace trawlex::window {

namespace {

constexpr int kDesignWidthsTwips[ResultTableModel::kColumnCount] = {1800, 1000, 21600, 21600, 8000};
constexpr char32_t kReplacementCharacter = 0xFFFD;

}  // namespace

ResultList::ResultList(int index, QWidget* parent)
    : QTreeView(parent), index_(index), metrics_(font()) {
    setObjectName(QStringLiteral("lvwGrep"));
    setProperty("index", index);
    setHeader(new ResultHeader(this));
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
    QFont unkerned = font();
    unkerned.setKerning(false);
    setFont(unkerned);
    connect(header(), &QHeaderView::sectionClicked, this, &ResultList::ColumnClick);
    // A width the user dragged is the width the next fit compares with.
    connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int pixels) {
        if (settingWidth_ || column < 0 || column >= ResultTableModel::kColumnCount) return;
        widthsTwips_[column] = PixelsToTwipsX(*this, pixels - CellMarginPixels());
        lastFitted_[column].clear();
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        // The text shown in the clicked row, read before any pending rows move it.
        if (index.isValid()) emit RowClicked(index.sibling(index.row(), 4).data().toString());
    });
    UpdateMetrics();
    for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
        SetColumnWidthTwips(c, kDesignWidthsTwips[c]);
    }
    BuildPopupMenu();
    highlight_ = new HighlightDelegate(this);
    setItemDelegateForColumn(4, highlight_);
}

void ResultList::SetHighlight(std::string search, MatchOptions options, RegionSet wanted) {
    highlight_->SetSearch(std::move(search), options, wanted);
    viewport()->update();
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
    model_.AddRow(std::move(row));
}

void ResultList::Clear() {
    model_.Clear();
    fittedRows_ = 0;
}

void ResultList::UpdateMetrics() {
    metrics_ = QFontMetricsF(font(), this);
    const int dpi = logicalDpiX();
    twipsPerPixel_ = dpi > 0 ? static_cast<double>(kTwipsPerInch) / dpi : kDesignTwipsPerPixel;
    advancePixels_.clear();
    for (std::string& text : lastFitted_) text.clear();
}

double ResultList::Advance(char32_t code) {
    if (code >= 0x10000) {
        const char32_t pair[] = {code, 0};
        return metrics_.horizontalAdvance(QString::fromUcs4(pair, 1));
    }
    if (advancePixels_.empty()) advancePixels_.assign(0x10000, -1.0f);
    float& advance = advancePixels_[code];
    if (advance < 0) {
        advance =
            static_cast<float>(metrics_.horizontalAdvance(QChar(static_cast<char16_t>(code))));
    }
    return advance;
}

// The list draws without kerning, so a text is as wide as its characters' advances.
double ResultList::TextWidthTwips(std::string_view utf8, double limitTwips) {
    const double limitPixels = limitTwips / twipsPerPixel_;
    double pixels = 0;
    for (std::size_t i = 0; i < utf8.size() && pixels <= limitPixels;) {
        const char32_t code = utf8::Next(utf8, i);
        // A byte that is not UTF-8 shows as the replacement character.
        pixels += Advance(code < utf8::kInvalidByteBase ? code : kReplacementCharacter);
    }
    return pixels * twipsPerPixel_;
}

double ResultList::TextWidthTwips(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return TextWidthTwips(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

int ResultList::CellMarginPixels() const {
    return 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
}

void ResultList::SetColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= ResultTableModel::kColumnCount) return;
    widthsTwips_[column] = twips;
    settingWidth_ = true;
    setColumnWidth(column, TwipsToPixelsX(*this, twips) + CellMarginPixels());
    settingWidth_ = false;
}

int ResultList::HeaderWidthTwips(int column) const {
    const QString text = model_.HeaderText(column);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header());
    const int pixels = QFontMetrics(header()->font()).horizontalAdvance(text) + 2 * margin;
    return PixelsToTwipsX(*this, pixels - CellMarginPixels());
}

double ResultList::FitLimitTwips() const {
    const QScreen* shown = screen();
    return shown ? PixelsToTwipsX(*this, shown->geometry().width())
                 : std::numeric_limits<double>::infinity();
}

void ResultList::FitColumnWidths(QDeadlineTimer deadline) {
    std::size_t stored = model_.StoredCount();
    if (fittedRows_ >= stored) return;
    const bool first = fittedRows_ == 0;
    const double limit = FitLimitTwips();
    std::array<double, ResultTableModel::kColumnCount> widest{};
    std::array<bool, ResultTableModel::kColumnCount> measured{};
    // The first texts of a list cost most (each character is measured once), and so do the
    // long lines of binary files: the clock is read before each row.
    for (std::size_t i = fittedRows_; i < stored; ++i) {
        if (i > fittedRows_ && deadline.hasExpired()) {
            stored = i;
            break;
        }
        const ResultRow& row = model_.Stored(i);
        for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
            // A column as wide as the screen takes no wider text.
            if (!first && widthsTwips_[c] >= limit) continue;
            char digits[24];
            const std::string_view text = ResultTableModel::CellView(row, c, digits);
            // Consecutive hits often share a column's text (the module, the procedure).
            if (!(first && i == 0) && text == lastFitted_[c]) continue;
            lastFitted_[c].assign(text);
            widest[c] = std::max(widest[c], TextWidthTwips(text, limit));
            measured[c] = true;
        }
    }
    fittedRows_ = stored;
    for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
        if (!measured[c]) continue;
        // The header's caption is never cut: it is the narrowest a fitted column gets.
        const int wanted =
            std::max(static_cast<int>(std::ceil(std::min(widest[c], limit))) + kFitMarginTwips,
                     HeaderWidthTwips(c));
        if (first || wanted > widthsTwips_[c]) SetColumnWidthTwips(c, wanted);
    }
}

int ResultList::SelectedRow() const {
    // Pending rows go in first: in a sorted list they can move the selected row.
    const_cast<ResultTableModel&>(model_).Flush();
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
    QFont unkerned = font;
    unkerned.setKerning(false);
    setFont(unkerned);
    UpdateMetrics();
}

void ResultList::ColumnClick(int column) {
    model_.ColumnClick(column);
    // The sort mark makes the caption longer: widen the column rather than cut it.
    if (column >= 0 && column < ResultTableModel::kColumnCount &&
        HeaderWidthTwips(column) > widthsTwips_[column]) {
        SetColumnWidthTwips(column, HeaderWidthTwips(column));
    }
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
    const int left = model_.ShownRowCount();
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
    if (event->button() != Qt::RightButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    // The menu needs a row the user selected first: on a list without a selection the
    // right button neither selects nor opens anything.
    if (SelectedRow() < 0) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
    ShowPopup(event->globalPosition().toPoint());
}

void ResultList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && SelectedRow() >= 0) emit JumpRequested(index_);
}

void ResultList::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    if (font().kerning()) {
        QFont unkerned = font();
        unkerned.setKerning(false);
        setFont(unkerned);  // comes back here
        return;
    }
    UpdateMetrics();
}

}  // namespace trawlex::window
