#pragma once
// What the search window offers beyond its original controls, on the right of its status
// line: the current tab's counts, where a match must lie (code, comment, string), and a box
// that filters the current tab's list. The tab buttons carry their tab's counts as tool tips.

#include <QObject>
#include <QString>

#include "search/vb_code_regions.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace trawlex::window {

class frmAddIn;
class ResultList;

// The drop-down's items, in index order.
inline constexpr const char* kMatchPlaceItems[] = {"すべて", "コードのみ", "コメントのみ",
                                                   "文字列のみ"};

// "12 件（3 モジュール）", or "5 / 12 件（2 / 3 ファイル）" while a filter hides rows (shown
// of all, rows and names alike); empty for an empty list.
QString CountsText(const ResultList& list);

// The regions item `index` of the drop-down stands for.
RegionSet RegionsOfMatchPlace(int index);

class ListExtras : public QObject {
    Q_OBJECT
  public:
    // Creates the controls in the window's status bar and follows its lists.
    explicit ListExtras(frmAddIn& window);

    QLabel* Counts() const { return counts_; }
    QComboBox* MatchPlace() const { return matchPlace_; }
    QLineEdit* RowFilter() const { return rowFilter_; }

    // The current tab changed: show its counts and its filter text.
    void CurrentTabChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateCounts(int tab);

    frmAddIn& window_;
    QLabel* counts_ = nullptr;
    QComboBox* matchPlace_ = nullptr;
    QLineEdit* rowFilter_ = nullptr;
};

}  // namespace trawlex::window
