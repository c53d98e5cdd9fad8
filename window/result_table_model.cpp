#include "window/result_table_model.h"

#include <QTimer>
#include <algorithm>
#include <numeric>

namespace trawlex::window {

namespace {

constexpr const char* kDesignHeaders[ResultTableModel::kColumnCount] = {"ﾌｧｲﾙ名", "行", "ﾌﾟﾛｼｰｼﾞｬ",
                                                                        "ｽｺｰﾌﾟ", "該当する内容"};

const QChar kAscendingMark(0x25B2);   // ▲
const QChar kDescendingMark(0x25BC);  // ▼

const std::string& FieldOf(const ResultRow& row, int column) {
    switch (column) {
        case 0:
            return row.name;
        case 2:
            return row.procedure;
        case 3:
            return row.scope;
        default:
            return row.content;
    }
}

// Texts are compared as text: byte order of the UTF-8 with ASCII letter case folded, so
// line numbers compare as text too ("10" before "9").
std::string SortKeyOf(const ResultRow& row, int column) {
    std::string key = column == 1 ? std::to_string(row.line) : FieldOf(row, column);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

}  // namespace

ResultTableModel::ResultTableModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int c = 0; c < kColumnCount; ++c) headers_[c] = QString::fromUtf8(kDesignHeaders[c]);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    if (role == Qt::DisplayRole) return CellText(rows_[index.row()], index.column());
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment h = index.column() == 1 ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return headers_[section];
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment h = section == 1 ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    return {};
}

QString ResultTableModel::CellText(const ResultRow& row, int column) {
    if (column == 1) return QString::number(row.line);
    return QString::fromStdString(FieldOf(row, column));
}

void ResultTableModel::AddRow(ResultRow row) {
    pending_.push_back(std::move(row));
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] { Flush(); });
    }
}

void ResultTableModel::Flush() {
    flushQueued_ = false;
    if (pending_.empty()) return;
    const auto first = static_cast<int>(rows_.size());
    const auto last = first + static_cast<int>(pending_.size()) - 1;
    beginInsertRows(QModelIndex(), first, last);
    rows_.insert(rows_.end(), std::make_move_iterator(pending_.begin()),
                 std::make_move_iterator(pending_.end()));
    pending_.clear();
    endInsertRows();
    if (sorted_) MergePendingSorted(first);
}

int ResultTableModel::RowCount() const {
    return static_cast<int>(rows_.size() + pending_.size());
}

const ResultRow& ResultTableModel::Row(int row) const {
    const_cast<ResultTableModel*>(this)->Flush();
    return rows_.at(static_cast<std::size_t>(row));
}

QString ResultTableModel::CellText(int row, int column) const {
    return CellText(Row(row), column);
}

void ResultTableModel::Clear() {
    pending_.clear();
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    keys_.clear();
    endResetModel();
}

void ResultTableModel::RemoveRow(int row) {
    Flush();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    if (!keys_.empty()) keys_.erase(keys_.begin() + row);
    endRemoveRows();
}

QString ResultTableModel::HeaderText(int column) const {
    if (column < 0 || column >= kColumnCount) return {};
    return headers_[column];
}

void ResultTableModel::SetHeaderText(int column, const QString& text) {
    if (column < 0 || column >= kColumnCount) return;
    headers_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ResultTableModel::ColumnClick(int column) {
    if (column < 0 || column >= kColumnCount) return;
    Flush();
    for (QString& header : headers_) {
        if (header.startsWith(kAscendingMark)) header.remove(0, 1);
        if (header.startsWith(kDescendingMark)) header.remove(0, 1);
    }
    sorted_ = true;
    sortKey_ = column;
    if (order_ == Qt::DescendingOrder) {
        order_ = Qt::AscendingOrder;
        headers_[column].prepend(kAscendingMark);
    } else {
        order_ = Qt::DescendingOrder;
        headers_[column].prepend(kDescendingMark);
    }
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);

    keys_.clear();
    keys_.reserve(rows_.size());
    for (const ResultRow& row : rows_) keys_.push_back(SortKeyOf(row, sortKey_));
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return Less(a, b); });
    ApplyOrder(order);
}

bool ResultTableModel::Less(int a, int b) const {
    return order_ == Qt::AscendingOrder ? keys_[a] < keys_[b] : keys_[b] < keys_[a];
}

// Rows [first, end) were just appended to a sorted list: merge them into place.
void ResultTableModel::MergePendingSorted(int first) {
    for (std::size_t i = keys_.size(); i < rows_.size(); ++i) {
        keys_.push_back(SortKeyOf(rows_[i], sortKey_));
    }
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    const auto less = [this](int a, int b) { return Less(a, b); };
    std::stable_sort(order.begin() + first, order.end(), less);
    std::inplace_merge(order.begin(), order.begin() + first, order.end(), less);
    ApplyOrder(order);
}

// order[newRow] = oldRow. Moves rows and their keys, keeping selections on their rows.
void ResultTableModel::ApplyOrder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<ResultRow> rows;
    std::vector<std::string> keys;
    rows.reserve(order.size());
    keys.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[order[i]] = static_cast<int>(i);
        rows.push_back(std::move(rows_[order[i]]));
        keys.push_back(std::move(keys_[order[i]]));
    }
    rows_ = std::move(rows);
    keys_ = std::move(keys);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.push_back(this->index(newRowOf[index.row()], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace trawlex::window
