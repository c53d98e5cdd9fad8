#pragma once
// The rows of one result list, as a table model with five text columns.
// Appends are collected and handed to the views in batches (at most every 100 ms, or when
// anything reads the rows), so a search that finds many hits stays cheap.

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>
#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_types.h"

namespace trawlex::window {

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumnCount = 5;
    static constexpr int kFlushIntervalMs = 100;

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

    // All rows, pending ones included, in list order.
    int RowCount() const;
    const ResultRow& Row(int row) const;
    // The row appended last, or nullptr when the list is empty or was just cleared.
    const ResultRow* Newest() const;
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

  private:
    struct SortEntry;
    struct SortKeys;
    void SortFrom(int first);
    void SortRange(const SortKeys& keys, std::vector<SortEntry>& entries, std::size_t lo,
                   std::size_t hi, std::size_t offset) const;
    void ApplyOrder(const std::vector<SortEntry>& entries);

    // Rows stay where they were appended; order_ lists them in the list's order.
    std::deque<ResultRow> rows_;
    std::vector<int> order_;
    std::vector<ResultRow> pending_;
    QTimer flushTimer_;
    std::array<QString, kColumnCount> headers_;
    bool sorted_ = false;
    int sortKey_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace trawlex::window
