#pragma once
// frmAddIn: the search window. Search controls on top, nine result tabs with one list each,
// and a status line. Closing only hides it, so its tabs and rows live as long as it does.

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "host/module_search.h"
#include "search/match_engine.h"
#include "search/vb_code_regions.h"
#include "window/search_window_state.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTimer;

namespace trawlex::host {
class HostApp;
}

namespace trawlex::window {

class ListExtras;
class ResultList;
class SearchRun;

inline constexpr int kTabCount = 9;
inline constexpr int kModeCount = 5;

class frmAddIn : public QWidget {
    Q_OBJECT
  public:
    // `host` may be null (no host editor): the module areas then find nothing to search.
    // The window works with `shared`, which outlives it.
    frmAddIn(host::HostApp* host, SearchWindowState& shared, QWidget* parent = nullptr);
    // A window on a state of its own, starting with `currentFolder`.
    explicit frmAddIn(host::HostApp* host, const QString& currentFolder = {},
                      QWidget* parent = nullptr);
    ~frmAddIn() override;

    // Public operations.
    // Reloads the history, takes the selection of the active code pane as the search
    // string and searches for it (on the next tab when the current one holds rows); when the
    // search ends, the row of the selection's line is selected. During a search it only
    // stops that search, leaving its text and tab alone.
    void Search();
    // Applies the result font from the settings to the nine lists.
    void SetFont();

    // Handlers.
    // Starts a search, which goes on in slices from the event loop (SearchFinished at its
    // end). Does nothing while one runs.
    void cmdSearchStart_Click();
    void CancelButton_Click();
    void cmbSearchArea_Click();
    void tabPane_Click(int index);
    void cmdChangeFolder_Click();

    // Ends the window's life; a running search stops with it.
    void Release();

    // Window state shared with the run and the side tools.
    int CurrentTab() const { return currentTab_; }
    ResultList& List(int index) const { return *lvwGrep[index]; }
    ResultList& CurrentList() const { return List(currentTab_); }
    QList<ResultList*> Lists() const;
    bool StopRequested() const { return stopRequested_; }
    void SetStopRequested(bool stop) { stopRequested_ = stop; }
    bool IsSearching() const { return run_ != nullptr; }
    QString StatusText() const;
    void SetStatusText(const QString& text);
    SearchArea CurrentArea() const;
    QString ExtList() const { return extList_; }
    void SetExtList(const QString& extList) { extList_ = extList; }
    QString CurrentFolder() const { return shared_.currentFolder; }
    // Changes CurrentFolder only; the folder box keeps what it shows.
    void SetCurrentFolder(const QString& folder) { shared_.currentFolder = folder; }
    std::string& EditorTemplate() { return shared_.editorTemplate; }
    void SetEditorTemplate(std::string editorTemplate) {
        shared_.editorTemplate = std::move(editorTemplate);
    }
    TabStateStore& TabStates() { return shared_.tabStates; }
    host::HostApp* Host() const { return host_; }
    MatchEngine& Engine() { return engine_; }

    // How long one slice of a run's scan goes on (milliseconds) before the event loop runs.
    // With 0 a slice ends before every line, and so the run searches line by line.
    int YieldIntervalMs() const { return yieldIntervalMs_; }
    void SetYieldIntervalMs(int milliseconds) { yieldIntervalMs_ = milliseconds; }
    // Nothing can change the options, the stop flag or the current tab within a slice, so
    // with an interval above 0 the run looks at them (and may end the slice) only before each
    // stretch of text of at least this many bytes, ending at a line end
    // (ScanHost::SteadyStretch).
    static constexpr std::size_t kScanStretchBytes = 256 * 1024;
    std::size_t ScanStretchBytes() const { return scanStretchBytes_; }
    void SetScanStretchBytes(std::size_t bytes) { scanStretchBytes_ = bytes; }
    // Called wherever a slice of the run may end, just before: before every line with an
    // interval of 0, else before each stretch.
    using YieldHook = std::function<void()>;
    const YieldHook& OnYield() const { return yieldHook_; }
    void SetOnYield(YieldHook hook) { yieldHook_ = std::move(hook); }

    // Controls, named as their objectNames. Arrays keep one name and carry their element
    // number in the dynamic property "index".
    QLabel* Label1 = nullptr;
    QComboBox* txtSearchStr = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbSearchArea = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtFilepath = nullptr;
    QPushButton* cmdChangeFolder = nullptr;
    QCheckBox* chkSubFolders = nullptr;
    std::array<QRadioButton*, kModeCount> optSearch{};
    QCheckBox* chkCase = nullptr;
    QPushButton* cmdSearchStart = nullptr;
    QPushButton* CancelButton = nullptr;
    QFrame* picPane = nullptr;
    std::array<QPushButton*, kTabCount> tabPane{};
    std::array<ResultList*, kTabCount> lvwGrep{};
    QStatusBar* stbSelected = nullptr;
    // Beside the status line: counts, where a match must lie, the filter over the list.
    QLabel* lblCounts = nullptr;
    QComboBox* cmbMatchPlace = nullptr;
    QLineEdit* edtRowFilter = nullptr;
    RegionSet WantedRegions() const;

  signals:
    // A search started by cmdSearchStart_Click has ended and the window is idle again.
    void SearchFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    frmAddIn(host::HostApp* host, std::unique_ptr<SearchWindowState>&& own,
             SearchWindowState* shared, QWidget* parent);
    void CreateControls();
    void ConnectControls();
    void Form_Load();
    void LayOutLists();
    void ApplyMinimumWidth();
    void SelectTab(int index);
    void ApplyNewTabScope();
    void ShowCurrentList();
    void SelectRowOfLine(int line);
    void RunSearchSlice();
    // Ends a run stopped from outside its slices at once.
    void EndSearchNow();
    void SearchEnded();

    host::HostApp* host_;
    std::unique_ptr<SearchWindowState> ownState_;  // only without a shared one
    SearchWindowState& shared_;
    QString extList_;
    MatchEngine engine_;
    QFont windowFont_;
    QButtonGroup* optSearchGroup_ = nullptr;
    QButtonGroup* tabPaneGroup_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    ListExtras* extras_ = nullptr;
    int currentTab_ = 0;
    bool stopRequested_ = false;
    std::unique_ptr<SearchRun> run_;
    QTimer* sliceTimer_ = nullptr;
    // The line whose row Search selects once its search has ended; 0 for none.
    int lineToSelect_ = 0;
    int yieldIntervalMs_ = 15;
    std::size_t scanStretchBytes_ = kScanStretchBytes;
    YieldHook yieldHook_;
};

}  // namespace trawlex::window
