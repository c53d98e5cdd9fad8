#pragma once
// The rows of one result list, as a table model with five text columns.
// Appends are collected and handed to the views in batches (at most every 100 ms, further
// apart for a long list, or when anything reads the rows), so a search that finds many hits
// stays cheap.

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>
#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/search_types.h"
#include "window/row_filter.h"

namespace trawlex::window {

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumnCount = 5;
    static constexpr int kFlushIntervalMs = 100;
    // A tree view lays out all its rows again for each batch: a list of more than 100,000
    // rows gets its next batch after a millisecond per 1,000 rows, up to a second.
    static constexpr int kRowsPerFlushMs = 1000;
    static constexpr int kMaxFlushIntervalMs = 1000;
    static int FlushIntervalMs(std::size_t rows);

    explicit ResultTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Appends at the end, or at the row's sorted place once the list is in sorted mode.
    void AddRow(ResultRow row);
    // Hands pending appends to the views now.
    void Flush();
    void Clear();
    void RemoveRow(int row);

    // All rows, pending ones included, the ones the filter hides too.
    int RowCount() const;
    // The rows the list shows, in list order: all of them unless a filter hides some.
    int ShownRowCount() const;
    // Row `row` (0 to ShownRowCount() - 1) as the list shows it.
    const ResultRow& Row(int row) const;
    // Row `row` of the rows the views were given, without handing pending ones over (for
    // painting); nullptr outside them.
    const ResultRow* ShownRow(int row) const;
    // How many different names (modules or files) the rows hold.
    int NameCount() const { return names_; }
    // How many of them the rows shown hold: NameCount() unless a filter hides rows.
    int ShownNameCount() const;

    // Shows only the rows whose text in some column holds `text`, compared as plain-text
    // search compares without the binary flag; an empty text shows every row again. Rows
    // added later are filtered as they come.
    void SetFilter(const QString& text);
    const QString& FilterText() const { return filterText_; }
    // Folds the rows for the filter ahead of the first keystroke (a million rows take about
    // a second); SetFilter does what is left undone.
    void PrepareFilter();
    bool Filtering() const { return filtering_; }
    // Every row appended since the last clear, in the order they came, the pending ones and
    // those removed or hidden too: Stored(0) to Stored(StoredCount() - 1).
    std::size_t StoredCount() const { return rows_.size() + pending_.size(); }
    const ResultRow& Stored(std::size_t index) const {
        return index < rows_.size() ? rows_[index] : pending_[index - rows_.size()];
    }
    // Column `column` (0-4) of a row as the list shows it.
    QString CellText(int row, int column) const;
    static QString CellText(const ResultRow& row, int column);
    // The same as UTF-8; `digits` holds the text of the line number.
    static std::string_view CellView(const ResultRow& row, int column, char (&digits)[24]);

    QString HeaderText(int column) const;
    void SetHeaderText(int column, const QString& text);

    // Sort state. Once sorted, the list stays in sorted mode.
    int SortKey() const { return sortKey_; }
    Qt::SortOrder SortOrder() const { return sortOrder_; }
    // Header click: strips the marks, toggles the order, marks the header and sorts.
    void ColumnClick(int column);

  signals:
    // What the counts count changed where the views need not hear of it: the filter changed
    // (the rows shown may be the same), or rows it hides came in.
    void CountsChanged();

  private:
    struct SortEntry;
    struct SortKeys;
    void SortFrom(int first);
    void SortRange(const SortKeys& keys, std::vector<SortEntry>& entries, std::size_t lo,
                   std::size_t hi, std::size_t offset) const;
    void ApplyOrder(const std::vector<SortEntry>& entries);
    // The stored row at row `row` of the list as shown.
    int StorageAt(int row) const;
    // Folds the rows stored since the last call into the filter's index.
    void IndexNewRows();
    // The stored rows the filter passes, in list order.
    std::vector<int> ShownByFlags() const;
    // Counts a row of name `id` in or out of the list.
    void CountName(int id, int delta);
    // Counts the names of the rows shown anew.
    void CountShownNames();

    // Rows stay where they were appended; order_ lists them in the list's order.
    std::deque<ResultRow> rows_;
    std::vector<int> order_;
    std::vector<ResultRow> pending_;
    QTimer flushTimer_;
    std::array<QString, kColumnCount> headers_;
    bool sorted_ = false;
    int sortKey_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

    // The filter: shown_ per stored row, shownOrder_ the stored rows it shows in list order.
    QString filterText_;
    std::string foldedFilter_;
    bool filtering_ = false;
    RowTextIndex index_;
    RecentFilters recent_;
    std::vector<char> shown_;
    std::vector<int> shownOrder_;

    // Names as small numbers: nameOf_ per stored row (pending ones too, in the order they
    // will be stored), and per number the rows in the list that hold it.
    std::unordered_map<std::string, int> nameIds_;
    std::string lastName_;  // the name of the last row added, number lastNameId_
    int lastNameId_ = -1;
    std::vector<int> nameOf_;
    std::vector<int> rowsPerName_;
    int names_ = 0;
    int shownNames_ = 0;
};

}  // namespace trawlex::window
