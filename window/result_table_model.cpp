#include "window/result_table_model.h"

#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cstdint>

namespace trawlex::window {

namespace {

constexpr const char* kDesignHeaders[ResultTableModel::kColumnCount] = {"ﾌｧｲﾙ名", "行", "ﾌﾟﾛｼｰｼﾞｬ",
                                                                        "ｽｺｰﾌﾟ", "該当する内容"};

const QChar kAscendingMark(0x25B2);   // ▲
const QChar kDescendingMark(0x25BC);  // ▼

// Texts are compared as text: bytes of the UTF-8 with ASCII letter case folded, so line
// numbers compare as text too ("10" before "9").
unsigned char Fold(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// Eight bytes of a folded key from `offset`, big-endian, so that comparing two prefixes
// orders keys as comparing their texts would, up to ties.
std::uint64_t Prefix(std::string_view key, std::size_t offset) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = offset + i;
        prefix = (prefix << 8) | (at < key.size() ? static_cast<unsigned char>(key[at]) : 0u);
    }
    return prefix;
}

// The alignment role as a plain int, which the views read as well: a QVariant of
// Qt::Alignment would register that type in Qt's global type table on first paint.
QVariant ColumnAlignment(int column) {
    const Qt::Alignment horizontal = column == 1 ? Qt::AlignRight : Qt::AlignLeft;
    return static_cast<int>(horizontal | Qt::AlignVCenter);
}

}  // namespace

// One row as the sort sees it: its key prefix, its place in the list (which makes the
// sort stable) and where it is stored.
struct ResultTableModel::SortEntry {
    std::uint64_t prefix;
    int position;
    int storage;
};

ResultTableModel::ResultTableModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int c = 0; c < kColumnCount; ++c) headers_[c] = QString::fromUtf8(kDesignHeaders[c]);
    // The model's own timer goes with the model; nothing outlives it.
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &ResultTableModel::Flush);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(filtering_ ? shownOrder_.size() : order_.size());
}

int ResultTableModel::StorageAt(int row) const {
    return filtering_ ? shownOrder_.at(static_cast<std::size_t>(row))
                      : order_.at(static_cast<std::size_t>(row));
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return CellText(rows_[StorageAt(index.row())], index.column());
    if (role == Qt::TextAlignmentRole) return ColumnAlignment(index.column());
    return {};
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return headers_[section];
    if (role == Qt::TextAlignmentRole) return ColumnAlignment(section);
    return {};
}

std::string_view ResultTableModel::CellView(const ResultRow& row, int column, char (&digits)[24]) {
    switch (column) {
        case 0:
            return row.name;
        case 1: {
            const auto end = std::to_chars(digits, digits + sizeof digits, row.line).ptr;
            return std::string_view(digits, static_cast<std::size_t>(end - digits));
        }
        case 2:
            return row.procedure;
        case 3:
            return row.scope;
        default:
            return row.content;
    }
}

QString ResultTableModel::CellText(const ResultRow& row, int column) {
    if (column == 1) return QString::number(row.line);
    char digits[24];
    const std::string_view text = CellView(row, column, digits);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ResultTableModel::AddRow(ResultRow row) {
    // Rows of one name mostly come together: the name is looked up once per run of them.
    if (lastNameId_ < 0 || row.name != lastName_) {
        const auto [it, added] =
            nameIds_.try_emplace(row.name, static_cast<int>(rowsPerName_.size()));
        if (added) rowsPerName_.push_back(0);
        lastName_ = row.name;
        lastNameId_ = it->second;
    }
    nameOf_.push_back(lastNameId_);
    CountName(lastNameId_, 1);
    pending_.push_back(std::move(row));
    if (!flushTimer_.isActive()) {
        // The first rows show at once; later ones in batches, so a run that finds many
        // hits repaints the list a few times a second rather than at every slice of the run.
        flushTimer_.start(order_.empty() ? 0 : FlushIntervalMs(order_.size()));
    }
}

int ResultTableModel::FlushIntervalMs(std::size_t rows) {
    const std::size_t interval = rows / kRowsPerFlushMs;
    return static_cast<int>(
        std::clamp<std::size_t>(interval, kFlushIntervalMs, kMaxFlushIntervalMs));
}

void ResultTableModel::Flush() {
    flushTimer_.stop();
    if (pending_.empty()) return;
    const auto first = static_cast<int>(order_.size());
    const auto last = first + static_cast<int>(pending_.size()) - 1;
    if (!filtering_) beginInsertRows(QModelIndex(), first, last);
    const auto firstStored = static_cast<int>(rows_.size());
    for (ResultRow& row : pending_) {
        order_.push_back(static_cast<int>(rows_.size()));
        rows_.push_back(std::move(row));
    }
    pending_.clear();
    if (!filtering_) {
        endInsertRows();
    } else {
        // Only the new rows that pass the filter appear, at the end of the shown rows.
        IndexNewRows();
        std::vector<int> passing;
        for (auto storage = firstStored; storage < static_cast<int>(rows_.size()); ++storage) {
            if (shown_[storage]) passing.push_back(storage);
        }
        if (!passing.empty()) {
            const auto shownFirst = static_cast<int>(shownOrder_.size());
            beginInsertRows(QModelIndex(), shownFirst,
                            shownFirst + static_cast<int>(passing.size()) - 1);
            shownOrder_.insert(shownOrder_.end(), passing.begin(), passing.end());
            CountShownNames();
            endInsertRows();
        }
        emit CountsChanged();
    }
    if (sorted_) SortFrom(first);
}

int ResultTableModel::ShownRowCount() const {
    const_cast<ResultTableModel*>(this)->Flush();
    return rowCount();
}

int ResultTableModel::ShownNameCount() const {
    const_cast<ResultTableModel*>(this)->Flush();
    return filtering_ ? shownNames_ : names_;
}

void ResultTableModel::CountName(int id, int delta) {
    int& rows = rowsPerName_[static_cast<std::size_t>(id)];
    if (rows == 0 && delta > 0) ++names_;
    rows += delta;
    if (rows == 0 && delta < 0) --names_;
}

void ResultTableModel::CountShownNames() {
    shownNames_ = 0;
    if (!filtering_) return;
    // Rows of one name mostly come together: a name is looked up once per run of them.
    std::vector<char> seen(rowsPerName_.size(), 0);
    int last = -1;
    for (const int storage : shownOrder_) {
        const int id = nameOf_[static_cast<std::size_t>(storage)];
        if (id == last) continue;
        last = id;
        shownNames_ += seen[static_cast<std::size_t>(id)] == 0;
        seen[static_cast<std::size_t>(id)] = 1;
    }
}

void ResultTableModel::IndexNewRows() {
    const std::size_t from = shown_.size();
    PrepareFilter();
    shown_.resize(rows_.size());
    for (std::size_t storage = from; storage < rows_.size(); ++storage) {
        shown_[storage] = index_.Matches(storage, foldedFilter_);
    }
}

void ResultTableModel::PrepareFilter() {
    Flush();
    const std::size_t from = index_.Size();
    for (std::size_t storage = from; storage < rows_.size(); ++storage) {
        index_.Append(rows_[storage]);
    }
}

std::vector<int> ResultTableModel::ShownByFlags() const {
    std::vector<int> shown;
    for (int storage : order_) {
        if (shown_[storage]) shown.push_back(storage);
    }
    return shown;
}

void ResultTableModel::SetFilter(const QString& text) {
    Flush();
    const bool filtering = !text.isEmpty();
    if (text == filterText_ && filtering == filtering_) return;
    std::vector<int> shownOrder;
    if (filtering) {
        const std::string folded = RowTextIndex::FoldFilter(text.toStdString());
        // A longer text only hides more: rows hidden already need no new look.
        const bool narrowing = filtering_ && !foldedFilter_.empty() &&
                               folded.find(foldedFilter_) != std::string::npos &&
                               shown_.size() == rows_.size();
        foldedFilter_ = folded;
        PrepareFilter();
        if (recent_.Recall(index_, foldedFilter_, shown_)) {
            // Taken back to a text filtered a moment ago.
        } else if (narrowing && shownOrder_.size() * 8 < rows_.size()) {
            for (int storage : shownOrder_) shown_[storage] = index_.Matches(storage, folded);
        } else {
            index_.MatchAll(foldedFilter_, shown_);
        }
        recent_.Remember(foldedFilter_, shown_);
        shownOrder = ShownByFlags();
    } else {
        foldedFilter_.clear();
    }
    // A view of a million rows takes long to lay out again: it is told only of a change.
    const bool same = (filtering_ ? shownOrder_ : order_) == (filtering ? shownOrder : order_);
    if (!same) beginResetModel();
    filterText_ = text;
    filtering_ = filtering;
    shownOrder_ = std::move(shownOrder);
    CountShownNames();
    if (!same) endResetModel();
    emit CountsChanged();
}

int ResultTableModel::RowCount() const {
    return static_cast<int>(order_.size() + pending_.size());
}

const ResultRow& ResultTableModel::Row(int row) const {
    const_cast<ResultTableModel*>(this)->Flush();
    return rows_.at(static_cast<std::size_t>(StorageAt(row)));
}

const ResultRow* ResultTableModel::ShownRow(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return &rows_[static_cast<std::size_t>(StorageAt(row))];
}

QString ResultTableModel::CellText(int row, int column) const {
    return CellText(Row(row), column);
}

void ResultTableModel::Clear() {
    pending_.clear();
    nameIds_.clear();
    lastNameId_ = -1;
    nameOf_.clear();
    rowsPerName_.clear();
    names_ = 0;
    shownNames_ = 0;
    if (order_.empty() && rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    order_.clear();
    index_.Clear();
    recent_.Clear();
    shown_.clear();
    shownOrder_.clear();
    endResetModel();
}

void ResultTableModel::RemoveRow(int row) {
    Flush();
    if (row < 0 || row >= rowCount()) return;
    const int storage = StorageAt(row);
    beginRemoveRows(QModelIndex(), row, row);
    // The stored row goes with the next clear.
    order_.erase(std::find(order_.begin(), order_.end(), storage));
    if (filtering_) shownOrder_.erase(shownOrder_.begin() + row);
    CountName(nameOf_[static_cast<std::size_t>(storage)], -1);
    CountShownNames();
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
    if (sortOrder_ == Qt::DescendingOrder) {
        sortOrder_ = Qt::AscendingOrder;
        headers_[column].prepend(kAscendingMark);
    } else {
        sortOrder_ = Qt::DescendingOrder;
        headers_[column].prepend(kDescendingMark);
    }
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    SortFrom(0);
}

// The folded sort keys of the stored rows side by side in one buffer, built in storage
// order (the order the rows and their texts were allocated in), so the sort reads the rows
// front to back once and then works on contiguous memory.
struct ResultTableModel::SortKeys {
    std::string bytes;
    std::vector<std::size_t> start;  // per stored row, and one past the end

    std::string_view Key(int storage) const {
        return std::string_view(bytes).substr(start[storage], start[storage + 1] - start[storage]);
    }
};

// Sorts rows [first, end) and merges them into rows [0, first), which are in order.
void ResultTableModel::SortFrom(int first) {
    if (order_.size() < 2 || static_cast<std::size_t>(first) >= order_.size()) return;
    SortKeys keys;
    keys.start.reserve(rows_.size() + 1);
    for (const ResultRow& row : rows_) {
        char digits[24];
        keys.start.push_back(keys.bytes.size());
        const std::string_view text = CellView(row, sortKey_, digits);
        const std::size_t at = keys.bytes.size();
        keys.bytes.append(text);
        for (std::size_t i = at; i < keys.bytes.size(); ++i) {
            keys.bytes[i] = static_cast<char>(Fold(keys.bytes[i]));
        }
    }
    keys.start.push_back(keys.bytes.size());

    // The rows to sort go in storage order; rows [0, first) keep their list order.
    std::vector<SortEntry> entries;
    entries.reserve(order_.size());
    for (int i = 0; i < first; ++i) entries.push_back(SortEntry{0, i, order_[i]});
    std::vector<int> positionOf(rows_.size(), -1);
    for (std::size_t i = static_cast<std::size_t>(first); i < order_.size(); ++i) {
        positionOf[order_[i]] = static_cast<int>(i);
    }
    for (std::size_t storage = 0; storage < rows_.size(); ++storage) {
        if (positionOf[storage] >= 0) {
            entries.push_back(SortEntry{0, positionOf[storage], static_cast<int>(storage)});
        }
    }
    SortRange(keys, entries, static_cast<std::size_t>(first), entries.size(), 0);
    if (first > 0) {
        const bool ascending = sortOrder_ == Qt::AscendingOrder;
        std::inplace_merge(entries.begin(), entries.begin() + first, entries.end(),
                           [&keys, ascending](const SortEntry& a, const SortEntry& b) {
                               const int c = keys.Key(a.storage).compare(keys.Key(b.storage));
                               if (c != 0) return ascending ? c < 0 : c > 0;
                               return a.position < b.position;
                           });
    }
    ApplyOrder(entries);
}

// Most significant bytes first: sorts entries [lo, hi) by eight key bytes from `offset` on
// (after the bytes all of them share), then each run of equal bytes by the next eight.
// Equal keys keep their list order.
void ResultTableModel::SortRange(const SortKeys& keys, std::vector<SortEntry>& entries,
                                 std::size_t lo, std::size_t hi, std::size_t offset) const {
    if (hi - lo < 2) return;
    const std::string_view firstKey = keys.Key(entries[lo].storage);
    std::size_t shared = firstKey.size() > offset ? firstKey.size() - offset : 0;
    for (std::size_t i = lo + 1; i < hi && shared > 0; ++i) {
        const std::string_view key = keys.Key(entries[i].storage);
        std::size_t same = 0;
        while (same < shared && offset + same < key.size() &&
               key[offset + same] == firstKey[offset + same]) {
            ++same;
        }
        shared = same;
    }
    offset += shared;
    bool longer = false;
    for (std::size_t i = lo; i < hi; ++i) {
        const std::string_view key = keys.Key(entries[i].storage);
        entries[i].prefix = Prefix(key, offset);
        longer = longer || key.size() > offset + 8;
    }
    const bool ascending = sortOrder_ == Qt::AscendingOrder;
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(lo),
              entries.begin() + static_cast<std::ptrdiff_t>(hi),
              [ascending](const SortEntry& a, const SortEntry& b) {
                  if (a.prefix != b.prefix) {
                      return ascending ? a.prefix < b.prefix : b.prefix < a.prefix;
                  }
                  return a.position < b.position;
              });
    if (!longer) return;
    // Each run of equal bytes goes on with the next bytes.
    std::size_t start = lo;
    for (std::size_t i = lo + 1; i <= hi; ++i) {
        if (i < hi && entries[i].prefix == entries[start].prefix) continue;
        if (i - start > 1) SortRange(keys, entries, start, i, offset + 8);
        start = i;
    }
}

// Puts the rows in the order of `entries`, keeping selections on their rows.
void ResultTableModel::ApplyOrder(const std::vector<SortEntry>& entries) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> storageBefore;
    storageBefore.reserve(before.size());
    for (const QModelIndex& index : before) storageBefore.push_back(StorageAt(index.row()));
    for (std::size_t i = 0; i < entries.size(); ++i) order_[i] = entries[i].storage;
    if (filtering_) shownOrder_ = ShownByFlags();
    // Each kept index follows its stored row to its new place.
    std::vector<int> newRowOfStorage(rows_.size(), -1);
    const std::vector<int>& shownNow = filtering_ ? shownOrder_ : order_;
    for (std::size_t i = 0; i < shownNow.size(); ++i) {
        newRowOfStorage[shownNow[i]] = static_cast<int>(i);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(this->index(newRowOfStorage[storageBefore[i]], before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace trawlex::window
